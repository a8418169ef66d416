// The 库 panel: the user's own entries over the default dictionary, looked
// up, saved, deleted, imported and exported. Each action gives what the
// panel says: {text, error}.

import { EngineFault } from "./engine.mjs";
import { faultText, TEXT } from "./messages.mjs";

const emptyKey = () => ({ text: TEXT.emptyKey, error: true, focus: "key" });

export class Entries {
  constructor(zelk, store) {
    this.zelk = zelk;
    this.store = store;
  }

  // Reads what is stored, as far as it can be read. The engine keeps the
  // good lines; a value with lines at fault is copied aside first, and the
  // faults are said. null when all went well.
  load() {
    const stored = this.store.read();
    const { faults } = this.zelk.loadUserEntries(stored);
    if (faults.length === 0) return null;
    this.store.keepUnreadable(stored);
    return { text: TEXT.entriesUnreadable(faults.length, faultText(faults[0])), error: true };
  }

  // A change of the stored entries: made on what is stored now (another
  // tab may have changed it), then written back at once.
  change(apply) {
    const problem = this.load();
    const result = apply();
    if (!this.store.write(this.zelk.userEntries())) return { text: TEXT.storageRefused, error: true };
    return problem && !result.error ? { ...result, text: `${result.text}${problem.text}` } : result;
  }

  lookup(key) {
    if (key === "") return emptyKey();
    const found = this.zelk.lookup(key);
    if (!found.found) return { text: TEXT.noEntry(key), error: true, focus: "key", value: "" };
    return { text: found.own ? TEXT.ownEntry : TEXT.defaultEntry, value: found.value };
  }

  save(key, value) {
    if (key === "") return emptyKey();
    if (value === "") return { text: TEXT.emptyReplacement, error: true, focus: "value" };
    return this.change(() => {
      this.zelk.save(key, value);
      return { text: TEXT.saved };
    });
  }

  // Whether the key has an entry of the user's to delete: null, or what to say.
  refuseDelete(key) {
    if (key === "") return emptyKey();
    this.load();
    const found = this.zelk.lookup(key);
    return found.found && found.own ? null : { text: TEXT.nothingToDelete(key), error: true };
  }

  remove(key) {
    return this.change(() =>
      this.zelk.remove(key) ? { text: TEXT.deleted } : { text: TEXT.nothingToDelete(key), error: true },
    );
  }

  // A file's bytes, read strictly: nothing changes when a line is at fault.
  import(bytes, name) {
    this.load();
    let summary;
    try {
      summary = this.zelk.importUserEntries(bytes, name);
    } catch (error) {
      if (!(error instanceof EngineFault)) throw error;
      return { text: TEXT.importRefused(faultText(error.fault)), error: true };
    }
    if (!this.store.write(this.zelk.userEntries())) return { text: TEXT.storageRefused, error: true };
    return { text: TEXT.imported(summary) };
  }

  // The TSV of the user's entries, and how many there are.
  export() {
    this.load();
    const tsv = this.zelk.userEntries();
    return { tsv, count: tsv.split("\n").filter((line) => line).length };
  }
}
