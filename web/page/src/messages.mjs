// Every text the page shows, in simplified Chinese, and the engine's faults
// worded from their codes.

const FAULTS = {
  CarriageReturnLineEnds: "行尾只有回车符，请以换行符保存",
  LineNotUtf8: "这一行不是有效的 UTF-8 文本（请把文件存为 UTF-8）",
  LineWithNul: "这一行含有空字节，不是文本文件（请把文件存为 UTF-8）",
  NoTab: "原始字和替换字之间没有制表符",
  MoreThanTwoFields: "多于两栏（栏内的制表符请写作 \\t）",
  UnknownEscapeInKey: "原始字里有不认识的转义",
  UnknownEscapeInReplacement: "替换字里有不认识的转义",
  EmptyKey: "原始字为空",
  MarkWithoutPlaceholder: "标注格式里要有 {c}（原字）或 {p}（部件）",
  SeparatorEmpty: "还原用的分隔符不能为空",
  SeparatorWithChinese: "还原用的分隔符里不能有汉字或部件",
  SeparatorWithLineBreak: "还原用的分隔符里不能有换行",
  ModelUnreadable: "还原模型文件无法读取",
  ModelNotAModel: "还原模型文件不是本程序的模型",
  ModelCutShort: "还原模型文件不完整",
  ModelByteOrder: "还原模型文件的字节序与本机不符",
  ModelDamaged: "还原模型文件已损坏或不完整",
  ModelOtherVersion: "还原模型文件的版本与本页面不符",
  ModelOtherBuild: "还原模型文件与本页面不是同一版本",
  OnlyEmpty: "“只拆这些词”里没有词",
  OnlyWithoutChinese: "“只拆这些词”里有不含汉字的词",
  OnlyNotUtf8: "词表的这一行不是有效的 UTF-8 文本（请把文件存为 UTF-8）",
};

// A fault of the engine in words: "FILE 第 N 行：…" for a line of a file.
export function faultText(fault) {
  const described = FAULTS[fault.code];
  if (!described) return `拆字引擎出错（${fault.code}）`;
  const word = fault.code.startsWith("Only") && fault.text ? `：“${fault.text}”` : "";
  if (fault.line > 0) {
    const where = fault.source ? `${fault.source} 第 ${fault.line} 行` : `第 ${fault.line} 行`;
    return `${where}：${described}`;
  }
  return described + word;
}

export const TEXT = {
  engineFailed: (reason) => `拆字引擎无法启动（${reason}）。请刷新页面。`,
  engineUnavailable: "拆字引擎无法启动：这个浏览器可能太旧，不支持 WebAssembly。请换用较新的浏览器。",
  unexpected: "出了意外的错误，操作没有完成。请刷新页面后重试。",
  optionsUnreadable: "浏览器里保存的拆分方式无法读取，已恢复默认设置。",
  entriesUnreadable: (count, first) =>
    `浏览器里保存的词条有 ${count} 行无法读取（${first}），这些行已跳过，其余词条照常使用。` +
    "原来的内容已另存一份，可以用“导出无法读取的原文”取回。",
  storageRefused: "无法保存到这个浏览器：请导出词条，以免丢失。",
  emptyKey: "原始字不能为空！",
  emptyReplacement: "替换字不能为空！",
  saved: "保存成功！",
  deleted: "删除成功！",
  deleteQuestion: (key) => `确定删除【${key}】吗？`,
  noEntry: (key) => `“${key}”没有条目。`,
  ownEntry: "这是你自己的词条。",
  defaultEntry: "这是默认词库的条目。",
  nothingToDelete: (key) => `“${key}”没有你自己的词条，无可删除。`,
  changedElsewhere: "词条已在另一个标签页里修改，这里已随之更新。",
  exported: (count) => `已导出 ${count} 条词条（zelk-dict import 可读）。`,
  imported: ({ added, changed, repeated }) =>
    `已导入：新增 ${added} 条，修改 ${changed} 条` +
    (repeated > 0 ? `；${repeated} 行重复了前面的原始字，以最后一行为准。` : "。"),
  importRefused: (reason) => `无法导入，词条没有改动。${reason}`,
  fileUnreadable: (name) => `无法读取文件 ${name}。`,
  copied: "已复制到剪贴板。",
  nothingToCopy: "没有可复制的内容。",
  copyRefused: "无法复制：请选中结果后按 Ctrl+C。",
  ambiguous: (separator) => `原文在两个汉字之间已有分隔符“${separator}”：还原时会被当作拆分加上的而去掉。`,
  longResult: (count) => `已拆分 ${count.toLocaleString("zh-CN")} 个字符；结果很长，按行显示，不自动换行。`,
  joined: "已还原。",
  busy: "正在处理上一个操作，请稍候。",
  splitting: "正在拆分",
  joining: "正在还原",
  modelDownloading: "正在下载还原模型",
  modelLoading: "正在载入还原模型",
  modelPreparing: "正在准备还原模型",
  modelFailed: (reason) => `还原模型无法载入：${reason}。请刷新页面后重试。`,
  modelHttp: (status) => `服务器答复 ${status}`,
  modelNetwork: "网络连接失败",
  modelIncomplete: "下载不完整",
  modelScript: (name) => `${name} 无法读取`,
  noParts: "请输入部件。",
  notFound: (parts) => `没有由 ${parts} 组成的字。`,
  found: (count, shown) =>
    count > shown ? `找到 ${count} 个字，常用的在前；列出前 ${shown} 个。` : `找到 ${count} 个字，常用的在前。`,
  noChinese: "原始句子里没有汉字。",
  coverage: (chinese, split) => `汉字 ${chinese} 个，可拆分 ${split} 个（${((100 * split) / chinese).toFixed(2)}%）。`,
};
