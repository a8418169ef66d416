// The join model: fetched the first time 还原 is used, as one file from a
// web server, or, opened from disk (where a page may not fetch), as the
// scripts that carry it in parts. Faults are said in words (ModelError).

import { TEXT } from "./messages.mjs";

export class ModelError extends Error {}

// The model file's bytes, with progress(done, total) as they arrive.
export async function fetchModel(fetchFile, url, expectedBytes, progress) {
  let response;
  try {
    response = await fetchFile(url);
  } catch {
    throw new ModelError(TEXT.modelNetwork);
  }
  if (!response.ok) throw new ModelError(TEXT.modelHttp(response.status));
  const total = Number(response.headers.get("Content-Length")) || expectedBytes;
  const parts = [];
  let done = 0;
  try {
    const reader = response.body.getReader();
    for (;;) {
      const { done: end, value } = await reader.read();
      if (end) break;
      parts.push(value);
      done += value.length;
      progress?.(done, total);
    }
  } catch {
    throw new ModelError(TEXT.modelNetwork);
  }
  const bytes = new Uint8Array(done);
  let at = 0;
  for (const part of parts) {
    bytes.set(part, at);
    at += part.length;
  }
  return bytes;
}

// The model from the scripts join-model-00.js, …: loadScript(name) runs one
// (a promise), and each calls self.zelkModelChunk(index, base64).
export async function modelFromScripts(global, loadScript, chunks, expectedBytes, progress) {
  const bytes = new Uint8Array(expectedBytes);
  let at = 0;
  let next = 0;
  global.zelkModelChunk = (index, base64) => {
    if (index !== next) return;
    const binary = global.atob(base64);
    if (at + binary.length > bytes.length) throw new ModelError(TEXT.modelIncomplete);
    for (let i = 0; i < binary.length; i++) bytes[at++] = binary.charCodeAt(i);
    next++;
    progress?.(at, expectedBytes);
  };
  try {
    for (let index = 0; index < chunks; index++) {
      const name = `join-model-${String(index).padStart(2, "0")}.js`;
      try {
        await loadScript(name);
      } catch {
        throw new ModelError(TEXT.modelScript(name));
      }
      if (next !== index + 1) throw new ModelError(TEXT.modelScript(name));
    }
  } finally {
    delete global.zelkModelChunk;
  }
  if (at !== expectedBytes) throw new ModelError(TEXT.modelIncomplete);
  return bytes;
}
