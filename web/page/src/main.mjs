// The page: the window's commands (拆分, 复制, 拆分并复制, 库) and what the
// command-line tools add (还原, output forms, the top-bottom set, finding
// characters by parts, coverage), on the engine in zelk-engine.js.

import { createZelk, EngineFault } from "./engine.mjs";
import { Entries } from "./entries.mjs";
import { faultText, TEXT } from "./messages.mjs";
import { fetchModel, ModelError, modelFromScripts } from "./model.mjs";
import { joinFault, splitFault, splitForms } from "./options.mjs";
import { EntryStore, ENTRIES_KEY, readOptions, SafeStorage, writeOptions } from "./storage.mjs";
import { nextFrame, TaskRunner } from "./tasks.mjs";
import { $, download, isLong, progress, say, showCoverage, showFound, showResult } from "./views.mjs";

const status = (text, error) => say("status", text, error);
const panelStatus = (text, error) => say("panel-status", text, error);

// The controls a running command must not have changed under it.
const LOCKED = ["split", "split-copy", "join", "top-bottom", "separator", "mark", "only", "save", "delete", "import"];

function storageOf(global) {
  try {
    return global.localStorage;
  } catch {
    return null;
  }
}

async function start() {
  // A script that did not load has been named already (boot.js).
  if (typeof self.ZelkEngine !== "function" || typeof self.ZELK_DATA !== "object") return;
  const storage = new SafeStorage(storageOf(self));
  let zelk;
  try {
    zelk = await createZelk(self.ZelkEngine, self.ZELK_DATA);
  } catch (error) {
    status(error instanceof EngineFault ? TEXT.engineFailed(faultText(error.fault)) : TEXT.engineUnavailable, true);
    return;
  }
  const store = new EntryStore(storage);
  const entries = new Entries(zelk, store);
  const problem = entries.load();
  if (problem) status(problem.text, true);
  $("export-unreadable").hidden = store.unreadableCopies().length === 0;

  const stored = readOptions(storage);
  if (stored.unreadable) status(TEXT.optionsUnreadable, true);
  $("top-bottom").checked = stored.options.topBottom;
  $("separator").value = stored.options.separator;
  $("mark").value = stored.options.mark;
  $("only").value = stored.options.only;

  function currentOptions() {
    const options = {
      topBottom: $("top-bottom").checked,
      separator: $("separator").value,
      mark: $("mark").value,
      only: $("only").value,
    };
    writeOptions(storage, options);
    zelk.useTopBottom(options.topBottom);
    return options;
  }

  const tasks = new TaskRunner((busy) => {
    document.body.toggleAttribute("aria-busy", busy);
    for (const id of LOCKED) $(id).disabled = busy;
    if (!busy) progress.hide();
  });
  const failed = (error) => {
    if (error instanceof EngineFault) return status(faultText(error.fault), true);
    if (error instanceof ModelError) return status(TEXT.modelFailed(error.message), true);
    console.error(error);
    status(TEXT.unexpected, true);
  };
  const run = (command) => (tasks.busy ? status(TEXT.busy) : tasks.run(command, failed));

  // --- 拆分, 复制, 还原 --------------------------------------------------

  // An option at fault: said, and its field given the focus.
  function refused(fault) {
    if (!fault) return false;
    status(fault.text, true);
    $(fault.field).focus();
    return true;
  }

  async function split() {
    const text = $("sentence").value;
    const options = currentOptions();
    if (refused(splitFault(zelk, options))) return false;
    const long = isLong(text);
    const result = await zelk.split(text, splitForms(options), {
      progress: async (done, total) => {
        progress.show(TEXT.splitting, done, total);
        await nextFrame();
      },
    });
    showResult(result.text);
    status(result.ambiguous ? TEXT.ambiguous(options.separator) : long ? TEXT.longResult(text.length) : "");
    return true;
  }

  async function copy() {
    const text = $("result").value;
    if (text === "") {
      status(TEXT.nothingToCopy);
      return;
    }
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      // Where the clipboard API is refused, the selection is copied.
      $("result").focus();
      $("result").select();
      if (!document.execCommand("copy")) {
        status(TEXT.copyRefused, true);
        return;
      }
    }
    status(TEXT.copied);
  }

  let modelLoading = null;
  function loadModel() {
    modelLoading ??= (async () => {
      const { file, bytes: size, chunks } = self.ZELK_DATA.model;
      const bytes =
        location.protocol === "file:"
          ? await modelFromScripts(self, loadScript, chunks, size, (done, total) => progress.show(TEXT.modelLoading, done, total))
          : await fetchModel(self.fetch.bind(self), file, size, (done, total) => progress.show(TEXT.modelDownloading, done, total));
      progress.show(TEXT.modelPreparing, 1, 1);
      await nextFrame();
      zelk.loadModel(bytes);
    })().catch((error) => {
      modelLoading = null;
      throw error instanceof EngineFault ? new ModelError(faultText(error.fault)) : error;
    });
    return modelLoading;
  }

  function loadScript(name) {
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = name;
      script.onload = () => {
        script.remove();
        resolve();
      };
      script.onerror = () => {
        script.remove();
        reject(new Error(name));
      };
      document.body.append(script);
    });
  }

  async function join() {
    const text = $("sentence").value;
    const options = currentOptions();
    if (refused(joinFault(zelk, options))) return;
    if (!zelk.modelLoaded()) {
      progress.show(TEXT.modelLoading, 0, 1);
      await loadModel();
    }
    const long = isLong(text);
    showResult(
      await zelk.join(text, { separator: options.separator }, {
        progress: async (done, total) => {
          if (!long) return;
          progress.show(TEXT.joining, done, total);
          await nextFrame();
        },
      }),
    );
    status(TEXT.joined);
  }

  $("split").addEventListener("click", () => run(split));
  $("copy").addEventListener("click", () => copy());
  $("split-copy").addEventListener("click", () => run(async () => (await split()) && (await copy())));
  $("join").addEventListener("click", () => run(join));
  document.addEventListener("keydown", (event) => {
    if (event.key === "Enter" && (event.ctrlKey || event.metaKey)) {
      event.preventDefault();
      run(split);
    }
  });

  // --- 库: the user's own entries ------------------------------------------

  $("ku").addEventListener("click", () => {
    const open = $("panel").hidden;
    $("panel").hidden = !open;
    $("ku").setAttribute("aria-expanded", String(open));
    if (open) $("key").focus();
  });

  function report(result) {
    panelStatus(result.text, result.error);
    if ("value" in result) $("value").value = result.value;
    if (result.focus) $(result.focus).focus();
  }

  $("lookup").addEventListener("click", () => report(entries.lookup($("key").value)));
  $("save").addEventListener("click", () => report(entries.save($("key").value, $("value").value)));

  let pendingDelete = null;
  function closeConfirm() {
    $("confirm").hidden = true;
    pendingDelete = null;
  }
  $("delete").addEventListener("click", () => {
    const key = $("key").value;
    const refused = entries.refuseDelete(key);
    if (refused) {
      closeConfirm();
      report(refused);
      return;
    }
    pendingDelete = key;
    $("confirm-text").textContent = TEXT.deleteQuestion(key);
    $("confirm").hidden = false;
    $("confirm-yes").focus();
  });
  $("confirm-yes").addEventListener("click", () => {
    const key = pendingDelete;
    closeConfirm();
    if (key !== null) report(entries.remove(key));
    $("delete").focus();
  });
  $("confirm-no").addEventListener("click", () => {
    closeConfirm();
    panelStatus("");
    $("delete").focus();
  });

  $("export").addEventListener("click", () => {
    const { tsv, count } = entries.export();
    download(tsv, "zelk-entries.tsv");
    panelStatus(TEXT.exported(count));
  });
  $("export-unreadable").addEventListener("click", () => {
    const copies = store.unreadableCopies();
    if (copies.length > 0) download(copies[copies.length - 1].value, "zelk-entries-unreadable.tsv");
  });

  $("import").addEventListener("change", async () => {
    const file = $("import").files[0];
    $("import").value = "";
    if (!file) return;
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch {
      panelStatus(TEXT.fileUnreadable(file.name), true);
      return;
    }
    report(entries.import(bytes, file.name));
  });

  // Another tab of the page changed the entries: take them over.
  self.addEventListener("storage", (event) => {
    if (event.key !== ENTRIES_KEY) return;
    const problem = entries.load();
    panelStatus(problem ? problem.text : TEXT.changedElsewhere, Boolean(problem));
  });

  // --- Finding characters by parts, coverage ---------------------------------

  function find() {
    const parts = $("parts").value.split(/\s+/).filter((part) => part);
    if (parts.length === 0) {
      $("found").replaceChildren();
      say("find-status", TEXT.noParts, true);
      $("parts").focus();
      return;
    }
    currentOptions();
    showFound(zelk.find(parts, $("exact").checked), parts);
  }
  $("find").addEventListener("click", find);
  $("parts").addEventListener("keydown", (event) => {
    if (event.key === "Enter" && !event.ctrlKey) find();
  });
  $("coverage").addEventListener("click", () => {
    currentOptions();
    showCoverage(zelk.coverage($("sentence").value, 20));
  });

  for (const id of ["split", "copy", "split-copy", "join", "ku", "find", "coverage"]) $(id).disabled = false;
  document.body.dataset.ready = "true";
  performance.mark("zelk-ready");
}

// Served over http(s), the page keeps itself for offline use (sw.js); opened
// from disk, where service workers do not run, it needs nothing of it.
if ("serviceWorker" in navigator && location.protocol.startsWith("http")) {
  navigator.serviceWorker.register("sw.js").catch(() => {});
}

start();
