// One command at a time: a long split or join runs in parts, the page
// draws between them, and while it runs the controls that would change what
// it works on are locked (busy). A command asked for meanwhile is refused.

export class TaskRunner {
  constructor(onBusy = () => {}) {
    this.busy = false;
    this.onBusy = onBusy;
  }

  // Runs task(); false when another is running. What task raises is given
  // to failed().
  async run(task, failed) {
    if (this.busy) return false;
    this.busy = true;
    this.onBusy(true);
    try {
      await task();
      return true;
    } catch (error) {
      failed(error);
      return false;
    } finally {
      this.busy = false;
      this.onBusy(false);
    }
  }
}

// Lets the page draw between two parts of a long task.
export const nextFrame = () => new Promise((resolve) => setTimeout(resolve, 0));
