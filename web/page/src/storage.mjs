// What the page keeps in the browser: the user's own entries (as the TSV
// that zelk-dict reads) and the options. Storage may be refused (a private
// window, a disabled setting): the page works on and says so when it cannot
// keep something.

export const ENTRIES_KEY = "zelk.userEntries";
export const OPTIONS_KEY = "zelk.options";
// Copies of stored entries that could not be read whole, kept for export.
export const UNREADABLE_PREFIX = "zelk.userEntries.unreadable.";

// A Storage (localStorage) that may refuse: reads give null, writes false.
export class SafeStorage {
  constructor(storage) {
    this.storage = storage;
  }
  get(key) {
    try {
      return this.storage ? this.storage.getItem(key) : null;
    } catch {
      return null;
    }
  }
  set(key, value) {
    try {
      if (!this.storage) return false;
      this.storage.setItem(key, value);
      return true;
    } catch {
      return false;
    }
  }
  keys() {
    try {
      const keys = [];
      for (let i = 0; i < this.storage.length; i++) keys.push(this.storage.key(i));
      return keys;
    } catch {
      return [];
    }
  }
}

// The user's entries as stored. Every change is read, merged and written
// at once against what is stored now, so that two tabs of the page keep
// each other's changes; a stored value that could not be read whole is
// copied aside before anything is written over it.
export class EntryStore {
  constructor(storage, now = () => Date.now()) {
    this.storage = storage;
    this.now = now;
  }

  read() {
    return this.storage.get(ENTRIES_KEY) ?? "";
  }

  write(tsv) {
    return this.storage.set(ENTRIES_KEY, tsv);
  }

  // Copies the stored value aside (once for each value): the key of the
  // copy, or null when storage refuses.
  keepUnreadable(value) {
    const existing = this.unreadableCopies().find((copy) => copy.value === value);
    if (existing) return existing.key;
    const key = UNREADABLE_PREFIX + this.now();
    return this.storage.set(key, value) ? key : null;
  }

  // [{key, value}], the oldest first.
  unreadableCopies() {
    return this.storage
      .keys()
      .filter((key) => key.startsWith(UNREADABLE_PREFIX))
      .sort()
      .map((key) => ({ key, value: this.storage.get(key) ?? "" }));
  }
}

// The options as stored; what cannot be read gives the defaults.
export const DEFAULT_OPTIONS = Object.freeze({ topBottom: false, separator: "", mark: "", only: "" });

// {options, unreadable}: unreadable when something was stored that is not
// what the page writes.
export function readOptions(storage) {
  const raw = storage.get(OPTIONS_KEY);
  if (raw === null) return { options: { ...DEFAULT_OPTIONS }, unreadable: false };
  let stored;
  try {
    stored = JSON.parse(raw);
  } catch {
    stored = undefined;
  }
  if (typeof stored !== "object" || stored === null || Array.isArray(stored)) {
    return { options: { ...DEFAULT_OPTIONS }, unreadable: true };
  }
  const options = { ...DEFAULT_OPTIONS };
  let unreadable = false;
  for (const [name, fallback] of Object.entries(DEFAULT_OPTIONS)) {
    if (!(name in stored)) continue;
    if (typeof stored[name] === typeof fallback) {
      options[name] = stored[name];
    } else {
      unreadable = true;
    }
  }
  return { options, unreadable };
}

export function writeOptions(storage, options) {
  return storage.set(OPTIONS_KEY, JSON.stringify(options));
}
