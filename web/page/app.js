// The page: the window's commands (拆分, 复制, 拆分并复制, 库) and what the
// command-line tools add (还原, output forms, the top-bottom set, finding
// characters by parts, coverage), on the engine in zelk-engine.js.
(async function () {
  "use strict";

  const $ = (id) => document.getElementById(id);
  const USER_ENTRIES = "zelk.userEntries";
  const OPTIONS = "zelk.options";
  const LONG_TEXT = 200000; // code units: show progress beyond this

  function showResult(text) {
    $("result").classList.toggle("long", text.length > LONG_TEXT);
    $("result").value = text;
  }

  function say(element, text, error = false) {
    element.textContent = text;
    element.classList.toggle("error", error);
  }
  const status = (text, error) => say($("status"), text, error);
  const panelStatus = (text, error) => say($("panel-status"), text, error);

  const progress = {
    show(label, done, total) {
      $("progress").hidden = false;
      $("progress").querySelector(".bar").style.width = `${total ? (100 * done) / total : 0}%`;
      $("progress").querySelector(".label").textContent =
        total ? `${label} ${Math.floor((100 * done) / total)}%` : label;
    },
    hide() {
      $("progress").hidden = true;
    },
  };
  // Lets the page draw between two parts of a long task.
  const nextFrame = () => new Promise((resolve) => setTimeout(resolve, 0));

  // Storage may be refused (private windows, a disabled setting): the page
  // works on, and says so when it cannot keep the user's entries.
  const storage = {
    get(key) {
      try {
        return localStorage.getItem(key);
      } catch {
        return null;
      }
    },
    set(key, value) {
      try {
        localStorage.setItem(key, value);
        return true;
      } catch {
        return false;
      }
    },
  };

  let zelk;
  try {
    zelk = await createZelk(ZelkEngine);
    zelk.setDictionary(0, ZELK_DATA.generated);
    zelk.setDictionary(1, ZELK_DATA.supplement);
    zelk.setDictionary(2, ZELK_DATA.topBottom);
    zelk.setRanks(ZELK_DATA.ranks);
  } catch (error) {
    status(`无法启动拆字引擎：${error.message}`, true);
    return;
  }
  const saved = storage.get(USER_ENTRIES);
  if (saved) {
    try {
      zelk.setUserEntries("浏览器里保存的词条", saved, false);
    } catch (error) {
      status(`浏览器里保存的词条无法读取（${error.message}），已忽略。`, true);
    }
  }
  const options = JSON.parse(storage.get(OPTIONS) || "{}");
  $("top-bottom").checked = Boolean(options.topBottom);
  $("separator").value = options.separator ?? "";
  $("mark").value = options.mark ?? "";

  function keepUserEntries() {
    if (!storage.set(USER_ENTRIES, zelk.userEntries())) {
      panelStatus("无法保存到这个浏览器：请导出词条，以免丢失。", true);
      return false;
    }
    return true;
  }

  function readOptions() {
    const separator = $("separator").value;
    const mark = $("mark").value;
    storage.set(OPTIONS, JSON.stringify({ topBottom: $("top-bottom").checked, separator, mark }));
    zelk.useTopBottom($("top-bottom").checked);
    return { separator: separator === "" ? null : separator, mark: mark === "" ? null : mark };
  }

  // --- 拆分, 复制, 还原 ---------------------------------------------------

  let busy = false;
  async function exclusive(task) {
    if (busy) return false;
    busy = true;
    document.body.setAttribute("aria-busy", "true");
    try {
      await task();
      return true;
    } catch (error) {
      status(error.message, true);
      return false;
    } finally {
      busy = false;
      document.body.removeAttribute("aria-busy");
      progress.hide();
    }
  }

  async function split() {
    const text = $("sentence").value;
    const options = readOptions();
    if (options.mark !== null && !options.mark.includes("{c}") && !options.mark.includes("{p}")) {
      status("标注格式里要有 {c}（原字）或 {p}（部件）。", true);
      $("mark").focus();
      return false;
    }
    const long = text.length > LONG_TEXT;
    const result = await zelk.split(text, { ...options, step: long ? 1 << 17 : 1 << 20 }, async (done, total) => {
      progress.show("正在拆分", done, total);
      await nextFrame();
    });
    showResult(result.text);
    status(
      result.ambiguous
        ? `原文在两个汉字之间已有分隔符“${options.separator}”：还原时会被当作拆分加上的而去掉。`
        : long
          ? `已拆分 ${text.length.toLocaleString("zh-CN")} 个字符；结果很长，按行显示，不自动换行。`
          : "",
    );
    return true;
  }

  async function copy() {
    const text = $("result").value;
    if (text === "") {
      status("没有可复制的内容。");
      return;
    }
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      // Where the clipboard API is refused, the selection is copied.
      $("result").focus();
      $("result").select();
      if (!document.execCommand("copy")) {
        status("无法复制：请选中结果后按 Ctrl+C。", true);
        return;
      }
    }
    status("已复制到剪贴板。");
  }

  // The join model is fetched the first time 还原 is used: as one file from
  // a web server, or, opened from disk (where a page may not fetch), as the
  // scripts that carry it in parts.
  let modelLoading = null;
  function loadModel() {
    modelLoading ??= (async () => {
      let bytes;
      try {
        bytes = await fetchModel();
      } catch {
        bytes = await modelFromScripts();
      }
      progress.show("正在准备还原模型", 1, 1);
      await nextFrame();
      zelk.loadModel(bytes);
    })().catch((error) => {
      modelLoading = null;
      throw new Error(`还原模型无法载入：${error.message}`);
    });
    return modelLoading;
  }

  async function fetchModel() {
    if (location.protocol === "file:") throw new Error("opened from disk");
    const response = await fetch(ZELK_DATA.model.file);
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    const total = Number(response.headers.get("Content-Length")) || ZELK_DATA.model.bytes;
    const reader = response.body.getReader();
    const parts = [];
    let done = 0;
    for (;;) {
      const { done: end, value } = await reader.read();
      if (end) break;
      parts.push(value);
      done += value.length;
      progress.show("正在下载还原模型", done, total);
    }
    const bytes = new Uint8Array(done);
    let at = 0;
    for (const part of parts) {
      bytes.set(part, at);
      at += part.length;
    }
    return bytes;
  }

  function modelFromScripts() {
    const { chunks, bytes: total } = ZELK_DATA.model;
    const bytes = new Uint8Array(total);
    let at = 0;
    return new Promise((resolve, reject) => {
      let index = 0;
      self.zelkModelChunk = (chunkIndex, base64) => {
        const binary = atob(base64);
        for (let i = 0; i < binary.length; i++) bytes[at++] = binary.charCodeAt(i);
        progress.show("正在载入还原模型", at, total);
      };
      const next = () => {
        if (index === chunks) {
          delete self.zelkModelChunk;
          return at === total ? resolve(bytes) : reject(new Error("文件不完整"));
        }
        const script = document.createElement("script");
        script.src = `join-model-${String(index++).padStart(2, "0")}.js`;
        script.onload = () => {
          script.remove();
          next();
        };
        script.onerror = () => reject(new Error(`${script.src} 无法读取`));
        document.body.append(script);
      };
      next();
    });
  }

  async function join() {
    const text = $("sentence").value;
    const { separator } = readOptions();
    if (!zelk.modelLoaded()) {
      progress.show("正在载入还原模型", 0, 1);
      await loadModel();
    }
    const long = text.length > LONG_TEXT;
    try {
      showResult(await zelk.join(text, { separator: separator ?? "", step: 1 << 16 }, async (done, total) => {
        if (!long) return;
        progress.show("正在还原", done, total);
        await nextFrame();
      }));
    } catch (error) {
      if (error.code !== "separator") throw error;
      status("还原用的分隔符里不能有汉字。", true);
      $("separator").focus();
      return;
    }
    status("已还原。");
  }

  $("split").addEventListener("click", () => exclusive(split));
  $("copy").addEventListener("click", () => exclusive(copy));
  $("split-copy").addEventListener("click", () => exclusive(async () => (await split()) && (await copy())));
  $("join").addEventListener("click", () => exclusive(join));
  document.addEventListener("keydown", (event) => {
    if (event.key === "Enter" && (event.ctrlKey || event.metaKey)) {
      event.preventDefault();
      exclusive(split);
    }
  });

  // --- 库: the user's own entries ------------------------------------------

  $("ku").addEventListener("click", () => {
    const open = $("panel").hidden;
    $("panel").hidden = !open;
    $("ku").setAttribute("aria-expanded", String(open));
    if (open) $("key").focus();
  });

  function requireKey() {
    const key = $("key").value;
    if (key === "") {
      panelStatus("原始字不能为空！", true);
      $("key").focus();
    }
    return key;
  }

  $("lookup").addEventListener("click", () => {
    const key = requireKey();
    if (key === "") return;
    const found = zelk.lookup(key);
    if (!found.found) {
      $("value").value = "";
      panelStatus(`“${key}”没有条目。`, true);
      $("key").focus();
      return;
    }
    $("value").value = found.value;
    panelStatus(found.own ? "这是你自己的词条。" : "这是默认词库的条目。");
  });

  $("save").addEventListener("click", () => {
    const key = requireKey();
    if (key === "") return;
    const value = $("value").value;
    if (value === "") {
      panelStatus("替换字不能为空！", true);
      $("value").focus();
      return;
    }
    zelk.save(key, value);
    if (keepUserEntries()) panelStatus("保存成功！");
  });

  let pendingDelete = null;
  function closeConfirm() {
    $("confirm").hidden = true;
    pendingDelete = null;
  }
  $("delete").addEventListener("click", () => {
    const key = requireKey();
    if (key === "") return;
    const found = zelk.lookup(key);
    if (!found.found || !found.own) {
      closeConfirm();
      panelStatus(`“${key}”没有你自己的词条，无可删除。`, true);
      return;
    }
    pendingDelete = key;
    $("confirm-text").textContent = `确定删除【${key}】吗？`;
    $("confirm").hidden = false;
    $("confirm-yes").focus();
  });
  $("confirm-yes").addEventListener("click", () => {
    const key = pendingDelete;
    closeConfirm();
    if (key !== null && zelk.remove(key) && keepUserEntries()) panelStatus("删除成功！");
    $("delete").focus();
  });
  $("confirm-no").addEventListener("click", () => {
    closeConfirm();
    panelStatus("");
    $("delete").focus();
  });

  $("export").addEventListener("click", () => {
    const tsv = zelk.userEntries();
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([tsv], { type: "text/tab-separated-values;charset=utf-8" }));
    link.download = "zelk-entries.tsv";
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    const count = tsv.split("\n").filter((line) => line).length;
    panelStatus(`已导出 ${count} 条词条（zelk-dict import 可读）。`);
  });

  // The parser's messages, "file:line: fault", in the page's language.
  const FAULTS = [
    ["no tab between key and replacement", "原始字和替换字之间没有制表符"],
    ["more than two fields", "多于两栏（栏内的制表符请写作 \\t）"],
    ["unknown escape in the key", "原始字里有不认识的转义"],
    ["unknown escape in the replacement", "替换字里有不认识的转义"],
    ["empty key", "原始字为空"],
    ["the line is not valid UTF-8", "这一行不是有效的 UTF-8 文本"],
    ["the line ends are carriage returns alone", "行尾只有回车符，请以换行符保存"],
  ];
  function fileFault(message) {
    const match = /^(.*):(\d+): (.*)$/.exec(message);
    if (!match) return message;
    const fault = FAULTS.find(([english]) => match[3].startsWith(english));
    return `${match[1]} 第 ${match[2]} 行：${fault ? fault[1] : match[3]}`;
  }

  $("import").addEventListener("change", async () => {
    const file = $("import").files[0];
    $("import").value = "";
    if (!file) return;
    try {
      const count = zelk.setUserEntries(file.name, await file.text(), true);
      if (keepUserEntries()) panelStatus(`已导入 ${count} 条词条。`);
    } catch (error) {
      panelStatus(`无法导入，词条没有改动。${fileFault(error.message)}`, true);
    }
  });

  // --- Finding characters by parts, coverage ---------------------------------

  function find() {
    const parts = $("parts").value.split(/\s+/).filter((part) => part);
    const list = $("found");
    list.replaceChildren();
    const findStatus = (text, error) => say($("find-status"), text, error);
    if (parts.length === 0) {
      findStatus("请输入部件。", true);
      $("parts").focus();
      return;
    }
    readOptions();
    const found = zelk.find(parts, $("exact").checked);
    if (found.length === 0) {
      findStatus(`没有由 ${parts.join(" ")} 组成的字。`);
      return;
    }
    findStatus(found.length > 300 ? `找到 ${found.length} 个字，常用的在前；列出前 300 个。` : `找到 ${found.length} 个字，常用的在前。`);
    for (const { character, parts: pieces } of found.slice(0, 300)) {
      const item = document.createElement("li");
      const strong = document.createElement("span");
      strong.className = "character";
      strong.textContent = character;
      item.append(strong, pieces);
      list.append(item);
    }
  }
  $("find").addEventListener("click", find);
  $("parts").addEventListener("keydown", (event) => {
    if (event.key === "Enter" && !event.ctrlKey) find();
  });

  $("coverage").addEventListener("click", () => {
    readOptions();
    const { chinese, split, whole } = zelk.coverage($("sentence").value, 20);
    const out = $("coverage-result");
    out.replaceChildren();
    const summary = document.createElement("p");
    summary.id = "coverage-summary";
    summary.textContent =
      chinese === 0
        ? "原始句子里没有汉字。"
        : `汉字 ${chinese} 个，可拆分 ${split} 个（${((100 * split) / chinese).toFixed(2)}%）。`;
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
  });

  for (const id of ["split", "copy", "split-copy", "join", "ku", "find", "coverage"]) $(id).disabled = false;
  document.body.dataset.ready = "true";
  performance.mark("zelk-ready");
})();
