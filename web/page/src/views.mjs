// What the page draws: statuses, the progress bar, the result box, the
// characters found by parts and the coverage table.

import { TEXT } from "./messages.mjs";

const LONG_TEXT = 200000; // code units: a result this long is shown line by line
const MOST_FOUND = 300;

export const $ = (id) => document.getElementById(id);

export function say(id, text, error = false) {
  $(id).textContent = text;
  $(id).classList.toggle("error", error);
}

export function isLong(text) {
  return text.length > LONG_TEXT;
}

export function showResult(text) {
  $("result").classList.toggle("long", isLong(text));
  $("result").value = text;
}

export const progress = {
  show(label, done, total) {
    $("progress").hidden = false;
    $("progress").querySelector(".bar").style.width = `${total ? (100 * done) / total : 0}%`;
    $("progress").querySelector(".label").textContent = total ? `${label} ${Math.floor((100 * done) / total)}%` : label;
  },
  hide() {
    $("progress").hidden = true;
  },
};

export function showFound(found, parts) {
  const list = $("found");
  list.replaceChildren();
  if (found.length === 0) {
    say("find-status", TEXT.notFound(parts.join(" ")));
    return;
  }
  say("find-status", TEXT.found(found.length, MOST_FOUND));
  for (const { character, parts: pieces } of found.slice(0, MOST_FOUND)) {
    const item = document.createElement("li");
    const strong = document.createElement("span");
    strong.className = "character";
    strong.textContent = character;
    item.append(strong, pieces);
    list.append(item);
  }
}

export function showCoverage({ chinese, split, whole }) {
  const out = $("coverage-result");
  out.replaceChildren();
  const summary = document.createElement("p");
  summary.id = "coverage-summary";
  summary.textContent = chinese === 0 ? TEXT.noChinese : TEXT.coverage(chinese, split);
  out.append(summary);
  if (whole.length === 0) return;
  const table = document.createElement("table");
  const head = table.insertRow();
  for (const title of ["未拆分的字", "次数"]) {
    const cell = document.createElement("th");
    cell.textContent = title;
    head.append(cell);
  }
  for (const [character, count] of whole) {
    const row = table.insertRow();
    row.insertCell().textContent = character;
    row.insertCell().textContent = count;
  }
  out.append(table);
}

// Offers text as a file to save.
export function download(text, name) {
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([text], { type: "text/tab-separated-values;charset=utf-8" }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}
