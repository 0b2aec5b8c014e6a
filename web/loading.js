// Fetching the game: its script, its wasm and its data at once, each counted as it comes in and
// shown on the page ("ゲーム本体 120 / 998 KB"), the wasm compiled while it streams in; the game's
// script starts once the data is in (the game takes it at once), and its wasm from the compile.
// The file names and sizes are the page build's (lusheraFiles, written into the page).
"use strict";

const lusheraLoading = (() => {
  const status = document.getElementById("status");
  const parts = new Map();  // label -> { loaded, total } in bytes, as they come unpacked
  let failed = false;
  const show = () => {
    if (failed || !parts.size) return;
    const kb = (n) => Math.round(n / 1024);
    status.textContent = "読み込み中… " + [...parts].map(([label, p]) => `${label} ${kb(p.loaded)} / ${kb(p.total)} KB`).join("・");
  };
  const fail = (what, why) => {
    failed = true;
    status.textContent = `${what}を読み込めません（${why}）。ネットワークをたしかめて、ページを読み込み直してください。`;
  };

  // The file's body as a stream that counts what passed under the label (none: it comes quietly).
  async function counted(name, label) {
    const file = lusheraFiles[name];
    const response = await fetch(file.url);
    if (!response.ok) throw new Error(`HTTP ${response.status}`);
    if (!label) return response;
    const part = parts.get(label) || { loaded: 0, total: 0 };
    part.total += file.size;
    parts.set(label, part);
    show();
    const count = new TransformStream({
      transform(chunk, out) {
        part.loaded += chunk.length;
        show();
        out.enqueue(chunk);
      },
    });
    return new Response(response.body.pipeThrough(count), { headers: { "content-type": response.headers.get("content-type") || "" } });
  }

  // The whole file; a counted one's failure is shown on the page.
  const fetchBytes = (name, label) =>
    counted(name, label).then((r) => r.arrayBuffer()).catch((e) => { if (label) fail(label, e.message); throw e; });

  // Only the page's parts are shown once the game has drawn: the rest comes in quietly.
  const done = () => { parts.clear(); if (!failed) status.textContent = ""; };

  if (!lusheraProblem) {
    const script = fetchBytes("lushera.js", "ゲーム本体");
    const wasm = counted("lushera.wasm", "ゲーム本体").then((r) => WebAssembly.compileStreaming(r))
      .catch((e) => { fail("ゲーム本体", e.message); throw e; });
    const data = fetchBytes("lushera.data", "データ");
    Module.locateFile = (name) => (lusheraFiles[name] ? lusheraFiles[name].url : name);
    let dataBytes = null;
    Module.getPreloadedPackage = () => { const d = dataBytes; dataBytes = null; return d; };
    Module.instantiateWasm = (imports, receive) => {
      wasm.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
        .catch((e) => fail("ゲーム本体", e.message));
      return {};  // the exports come later, through receive
    };
    Promise.all([script, data]).then(([js, bytes]) => {
      dataBytes = bytes;
      const tag = document.createElement("script");
      tag.src = URL.createObjectURL(new Blob([js], { type: "text/javascript" }));
      document.body.appendChild(tag);
    }, () => {});
  }
  return { fetchBytes, done };
})();
