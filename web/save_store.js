// The save in the browser's storage (IndexedDB, mounted at /save): stored after every change,
// exported and imported as the desktop's my.dat and item.dat, and the pair an import replaced
// kept to go back to.
"use strict";

const saveFiles = ["my.dat", "item.dat"];
const backupOf = (f) => "backup-" + f;
const stored = (f) => FS.analyzePath("/save/" + f).exists;

Module.lusheraSave = {
  files: saveFiles,
  folder: null,     // where the game writes its pair
  committing: false,
  again: false,     // a newer pair came while the last was being committed
  frozen: false,    // an import is replacing the stored pair: the running game stores nothing more
  failed: false,    // the last commit was refused
  storedAt: 0,      // when the last commit went through (the page's clock)

  // Before the game starts: a stored save replaces the data pack's fresh one.
  restore(folder) {
    if (saveFiles.every(stored))
      for (const f of saveFiles) FS.writeFile(folder + f, FS.readFile("/save/" + f));
    document.getElementById("restore").hidden = !saveFiles.every((f) => stored(backupOf(f)));
  },

  // The game wrote a new pair: it goes to storage in one transaction (a stored save is always a
  // whole one), one commit at a time, the newest pair last.
  persist(folder) {
    if (this.frozen) return;
    this.folder = folder;
    if (this.committing) { this.again = true; return; }
    for (const f of saveFiles) FS.writeFile("/save/" + f, FS.readFile(folder + f));
    this.committing = true;
    FS.syncfs(false, (e) => {
      this.committing = false;
      if (e) this.refused(e);
      else if (this.failed) { this.failed = false; notice(""); }
      if (!e) {
        document.body.dataset.saves = String(Number(document.body.dataset.saves || 0) + 1);
        this.storedAt = performance.now();  // for the page's figures
      }
      if (this.again) { this.again = false; this.persist(this.folder); }
    });
  },

  refused(e) {
    this.failed = true;
    notice(`ブラウザーの保存領域にセーブを書き込めませんでした（${e.name || e}）。ゲームはこのまま続けられますが、` +
      "このページを閉じると最後に保存できたところに戻ります。メニューの「セーブを書き出す」で今のヒーローをファイルに残せます。");
  },
};

// One commit of the stored files, as a promise.
const commit = () => new Promise((ok, fail) => FS.syncfs(false, (e) => (e ? fail(e) : ok())));

// Bytes of the stored files, to put back when a replacement could not be stored.
const storedBytes = (names) => Object.fromEntries(names.filter(stored).map((f) => [f, FS.readFile("/save/" + f)]));
function putBack(kept, names) {
  for (const f of names) {
    if (kept[f]) FS.writeFile("/save/" + f, kept[f]);
    else if (stored(f)) FS.unlink("/save/" + f);
  }
}

// Stores a new pair in place of the stored one, which becomes the backup, then starts the page
// again on it. On a refused commit the stored files are as they were.
async function replaceStoredPair(pair, told) {
  const names = [...saveFiles, ...saveFiles.map(backupOf)];
  const kept = storedBytes(names);
  Module.lusheraSave.frozen = true;
  for (const f of saveFiles) {
    if (kept[f]) FS.writeFile("/save/" + backupOf(f), kept[f]);
    FS.writeFile("/save/" + f, pair[f]);
  }
  try {
    await commit();
  } catch (e) {
    putBack(kept, names);
    Module.lusheraSave.frozen = false;
    notice(`セーブをブラウザーの保存領域に書き込めませんでした（${e.name || e}）。今のセーブはそのままです。`);
    return;
  }
  sessionStorage.setItem("lushera-told", told);
  location.reload();
}

document.getElementById("export").addEventListener("click", () => {
  if (!saveFiles.every(stored)) return notice("まだセーブがありません。");
  for (const f of saveFiles) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([FS.readFile("/save/" + f)]));
    link.download = f;
    link.click();
    URL.revokeObjectURL(link.href);
  }
});

document.getElementById("import").addEventListener("click", () => document.getElementById("import-files").click());

// The chosen pair is read and checked by the game's own readers in memory; only a pair that
// reads whole replaces the stored one. A browser's renamed download ("my (1).dat") is known by
// what it holds.
document.getElementById("import-files").addEventListener("change", async (e) => {
  const chosen = [...e.target.files];
  e.target.value = "";
  const kept = "今のセーブはそのままです。";
  if (chosen.length !== 2)
    return notice("セーブは my.dat と item.dat の２つのファイルです。２つを一緒に選んでください。" + kept);
  const limit = callGame("lushera_chosen_file_limit", []);
  const big = chosen.find((f) => f.size > limit);
  if (big) return notice(`「${big.name}」はセーブにしては大きすぎます（${limit / 1024 / 1024} MB まで）。${kept}`);
  let bytes;
  try {
    bytes = await Promise.all(chosen.map(async (f) => new Uint8Array(await f.arrayBuffer())));
  } catch (err) {
    return notice(`選んだファイルを読めませんでした（${err.name || err}）。${kept}`);
  }
  const answer = checkPair(chosen.map((f) => f.name), bytes);
  if (answer[0] === "-") return notice(answer.slice(1) + "。" + kept);
  const save = Number(answer);
  await replaceStoredPair({ "my.dat": bytes[save], "item.dat": bytes[1 - save] },
    `「${chosen[save].name}」と「${chosen[1 - save].name}」のセーブを読み込みました。` +
    "前のセーブはメニューの「前のセーブに戻す」で戻せます。");
});

// Asks the game's readers which of the two is the save ("0", "1") or what is wrong ("-...").
function checkPair(names, bytes) {
  const at = bytes.map((b) => {
    const p = Module._malloc(Math.max(1, b.length));
    HEAPU8.set(b, p);
    return p;
  });
  try {
    return callGame("lushera_check_pair", [names[0], at[0], bytes[0].length, names[1], at[1], bytes[1].length], true);
  } finally {
    for (const p of at) Module._free(p);
  }
}

// The backup and the stored pair change places: going back can be undone the same way.
document.getElementById("restore").addEventListener("click", () => {
  if (!saveFiles.every((f) => stored(backupOf(f)))) return;
  const pair = Object.fromEntries(saveFiles.map((f) => [f, FS.readFile("/save/" + backupOf(f))]));
  replaceStoredPair(pair, "前のセーブに戻しました。もう一度「前のセーブに戻す」を押すと、戻す前のセーブになります。");
});

// What the last start of the page was asked to tell.
const told = sessionStorage.getItem("lushera-told");
if (told) {
  sessionStorage.removeItem("lushera-told");
  notice(told);
}
// A browser may clear a site's storage when it runs short; a game's save asks it not to.
navigator.storage?.persist?.().catch(() => {});
