// The 拆分方式: the top-bottom set, the separator and the mark format of the
// split (and of reading it back), each judged by the engine.

import { faultText } from "./messages.mjs";

// The words of the 只拆这些词 field: separated by blanks, commas or line
// breaks; none means the whole text is split.
export function wordsOf(field) {
  return field.split(/[\s,，、]+/u).filter((word) => word !== "");
}

// The options as the engine takes them: empty text is none.
export function splitForms(options) {
  const words = wordsOf(options.only);
  return {
    separator: options.separator === "" ? null : options.separator,
    mark: options.mark === "" ? null : options.mark,
    only: words.length === 0 ? null : words,
  };
}

// What is wrong with the options for a split: null, or {field, text}.
export function splitFault(zelk, options) {
  if (options.mark !== "") {
    const fault = zelk.markFault(options.mark);
    if (fault) return { field: "mark", text: faultText(fault) };
  }
  const words = wordsOf(options.only);
  if (words.length > 0) {
    const fault = zelk.wordsFault(words);
    if (fault) return { field: "only", text: faultText(fault) };
  }
  return null;
}

// What is wrong with the separator for reading back: null, or {field, text}.
export function joinFault(zelk, options) {
  if (options.separator === "") return null;
  const fault = zelk.separatorFault(options.separator);
  return fault ? { field: "separator", text: faultText(fault) } : null;
}
