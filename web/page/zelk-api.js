// The engine's functions as the page and its tests use them: text crosses
// as UTF-16 code units, so that every string, lone surrogates included,
// comes back as it went in.
(function (root) {
  "use strict";

  // A part of text that ends on a whole character.
  function cutAt(text, end) {
    if (end >= text.length) return text.length;
    const unit = text.charCodeAt(end - 1);
    return unit >= 0xd800 && unit <= 0xdbff ? end - 1 : end;
  }

  async function createZelk(factory) {
    const m = await factory();

    function write(...texts) {
      const total = texts.reduce((n, t) => n + t.length, 0);
      const pointer = m._zelk_input(total) >> 1;
      const heap = m.HEAPU16; // after the call: memory may have grown
      let at = pointer;
      for (const text of texts) {
        for (let i = 0; i < text.length; i++) heap[at++] = text.charCodeAt(i);
      }
    }

    function result() {
      const pointer = m._zelk_result() >> 1;
      const length = m._zelk_result_length();
      const heap = m.HEAPU16;
      let text = "";
      for (let at = 0; at < length; at += 8192) {
        const end = Math.min(length, at + 8192);
        text += String.fromCharCode.apply(null, heap.subarray(pointer + at, pointer + end));
      }
      return text;
    }

    function check(status) {
      if (status !== 0) throw new Error(result());
    }

    // Hands text to push in parts of about step code units, gathering what
    // each part gives, and calls progress(done, total) between parts.
    async function inParts(text, step, push, progress) {
      const parts = [];
      for (let at = 0; at < text.length; ) {
        const end = cutAt(text, at + step);
        write(text.slice(at, end));
        push();
        parts.push(result());
        at = end;
        if (progress && at < text.length) await progress(at, text.length);
      }
      return parts;
    }

    return {
      // One of the shipped sets: 0 generated, 1 supplement, 2 top-bottom.
      setDictionary(set, tsv) {
        write(tsv);
        check(m._zelk_set_dictionary(set));
      },
      setRanks(lines) {
        write(lines);
        m._zelk_set_ranks();
      },
      useTopBottom(on) {
        m._zelk_use_top_bottom(on ? 1 : 0);
      },
      // Replaces the user's entries with a TSV file's, or (merge) adds them;
      // throws with the line at fault. Gives the number of entries read.
      setUserEntries(name, tsv, merge) {
        write(name, tsv);
        check(m._zelk_set_user_entries(name.length, merge ? 1 : 0));
        return Number(result());
      },
      userEntries() {
        m._zelk_user_entries();
        return result();
      },
      // {found: false} or {found: true, own: bool, value}.
      lookup(key) {
        write(key);
        const kind = m._zelk_lookup();
        return kind === 0 ? { found: false } : { found: true, own: kind === 1, value: result() };
      },
      save(key, value) {
        write(key, value);
        m._zelk_save(key.length);
      },
      // Whether the user had an entry for the key.
      remove(key) {
        write(key);
        return m._zelk_delete() === 1;
      },
      // Splits text as zelk-split does; calls progress(done, total) between
      // parts when given, and gives {text, ambiguous}.
      async split(text, options = {}, progress) {
        const separator = options.separator ?? null;
        const mark = options.mark ?? null;
        write(separator ?? "", mark ?? "");
        m._zelk_split_start(separator === null ? -1 : separator.length, mark === null ? -1 : mark.length);
        const parts = await inParts(text, options.step ?? 1 << 18, m._zelk_split_push, progress);
        return { text: parts.join(""), ambiguous: (m._zelk_flags() & 1) !== 0 };
      },
      // The model file's bytes (a Uint8Array); throws when they are no model.
      loadModel(bytes) {
        const pointer = m._zelk_bytes(bytes.length);
        m.HEAPU8.set(bytes, pointer);
        check(m._zelk_load_model());
      },
      modelLoaded() {
        return m._zelk_model_loaded() === 1;
      },
      // Reads split text back as zelk-split --join does. A separator with
      // Chinese writing in it throws an error whose code is "separator".
      async join(text, options = {}, progress) {
        write(options.separator ?? "");
        const started = m._zelk_join_start();
        if (started === 2) throw Object.assign(new Error(result()), { code: "separator" });
        check(started);
        const parts = await inParts(text, options.step ?? 1 << 16, m._zelk_join_push, progress);
        m._zelk_join_finish();
        parts.push(result());
        return parts.join("");
      },
      // [{character, parts}], the most frequent first.
      find(parts, exact) {
        write(parts.join("\n"));
        m._zelk_find(exact ? 1 : 0);
        return result()
          .split("\n")
          .filter((line) => line)
          .map((line) => {
            const tab = line.indexOf("\t");
            return { character: line.slice(0, tab), parts: line.slice(tab + 1) };
          });
      },
      // {chinese, split, whole: [[character, count]]}.
      coverage(text, most = 30) {
        write(text);
        m._zelk_coverage(most);
        const lines = result().split("\n").filter((line) => line);
        const [chinese, split] = lines[0].split("\t").map(Number);
        return { chinese, split, whole: lines.slice(1).map((l) => [l.split("\t")[0], Number(l.split("\t")[1])]) };
      },
    };
  }

  if (typeof module === "object" && module.exports) {
    module.exports = { createZelk };
  } else {
    root.createZelk = createZelk;
  }
})(typeof self !== "undefined" ? self : this);
