// The engine (WebAssembly, zelk-engine.js) as the page uses it: the shipped
// dictionary sets loaded, text split and read back in parts so that the page
// stays responsive, and every fault a value with a code (EngineFault).

// A fault the engine found: fault.code names it ("NoTab"), fault.line and
// fault.text say where; messages.mjs words it.
export class EngineFault extends Error {
  constructor(fault) {
    super(fault.code);
    this.fault = fault;
  }
}

function checked(result) {
  if (result && result.fault) throw new EngineFault(result.fault);
  return result;
}

// The end of a part of text that ends on a whole character.
export function cutAt(text, end) {
  if (end >= text.length) return text.length;
  const unit = text.charCodeAt(end - 1);
  return unit >= 0xd800 && unit <= 0xdbff ? end - 1 : end;
}

// Runs a task object of the engine over text in parts of about step code
// units, calling progress(done, total) between parts; the task is freed
// however the run ends. finish: the task's last call, when it has one.
async function inParts(task, text, { step, progress }, finish) {
  try {
    const parts = [];
    for (let at = 0; at < text.length; ) {
      const end = cutAt(text, at + step);
      parts.push(task.push(text.slice(at, end)));
      at = end;
      if (progress && at < text.length) await progress(at, text.length);
    }
    if (finish) parts.push(finish(task));
    return parts.join("");
  } finally {
    task.delete();
  }
}

export class Zelk {
  constructor(engine) {
    this.engine = engine;
  }

  // The names of every fault the engine can give.
  errorCodes() {
    return this.engine.constructor.errorCodes();
  }

  useTopBottom(on) {
    this.engine.useTopBottom(Boolean(on));
  }

  // The user's entries as stored: {count, faults}, the good lines kept.
  loadUserEntries(tsv) {
    return this.engine.loadUserEntries(tsv ?? "");
  }
  userEntries() {
    return this.engine.userEntries();
  }
  // A file's bytes (Uint8Array), read strictly as zelk-dict import reads
  // it: {added, changed, repeated}; throws EngineFault and changes nothing
  // when a line is at fault.
  importUserEntries(bytes, name) {
    return checked(this.engine.importUserEntries(bytes, name));
  }
  // {found: false} or {found: true, own, value}.
  lookup(key) {
    return this.engine.lookup(key);
  }
  save(key, value) {
    this.engine.save(key, value);
  }
  // Whether the user had an entry for the key.
  remove(key) {
    return this.engine.remove(key);
  }

  // The engine judges the output forms and the words: a fault, or null.
  markFault(mark) {
    return this.engine.checkMark(mark).fault ?? null;
  }
  wordsFault(words) {
    return this.engine.checkWords(words).fault ?? null;
  }
  separatorFault(separator) {
    return this.engine.checkReadBackSeparator(separator).fault ?? null;
  }

  // Splits text as zelk-split does, only the words of `only` when it is
  // an array: {text, ambiguous}.
  async split(text, { separator = null, mark = null, only = null } = {}, run = {}) {
    const { task } = checked(this.engine.startSplit(separator, mark, only));
    let ambiguous = false;
    const result = await inParts(task, text, { step: 1 << 17, ...run }, (done) => {
      const rest = done.finish();
      ambiguous = done.ambiguous();
      return rest;
    });
    return { text: result, ambiguous };
  }

  loadModel(bytes) {
    checked(this.engine.loadModel(bytes));
  }
  modelLoaded() {
    return this.engine.modelLoaded();
  }
  // Reads split text back as zelk-split --join does.
  async join(text, { separator = "" } = {}, run = {}) {
    const { task } = checked(this.engine.startJoin(separator));
    return inParts(task, text, { step: 1 << 16, ...run }, (done) => done.finish());
  }

  // [{character, parts}], the most frequent first.
  find(parts, exact) {
    return this.engine.find(parts, Boolean(exact));
  }
  // {chinese, split, whole: [[character, count]]}.
  coverage(text, most = 30) {
    return this.engine.coverage(text, most);
  }
}

// The engine with the shipped sets (data: zelk-data.js's ZELK_DATA).
export async function createZelk(factory, data) {
  const module = await factory();
  const engine = new module.Engine();
  for (const name of ["generated", "supplement", "topBottom"]) checked(engine.setSet(name, data[name]));
  engine.setRanks(data.ranks);
  return new Zelk(engine);
}
