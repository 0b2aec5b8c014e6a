// The game for screen readers: its messages read out from a live region, and the buttons it
// shows as buttons named by their captions, which press the game's own.
"use strict";

Module.lusheraAnnounce = (text) => {
  document.getElementById("live").textContent = text.replace(/\r\n?|\n/g, " ");
};

// Rebuilt when the game publishes its controls (it does when it waits), only when the list of
// shown buttons changed. Out of the Tab order: the keyboard reaches the game's buttons through
// the game itself.
let readerButtons = "";
Module.lusheraControlsChanged = () => {
  const controls = Module.lusheraControls || {};
  const question = Module.lusheraQuestion;
  const buttons = question !== null && question !== undefined
    ? [["yes", "はい"], ["no", "いいえ"]]
    : Object.keys(controls).filter((n) => controls[n][4] === 1 && controls[n][6] === 1 && controls[n][7])
      .map((n) => [n, controls[n][7]]);
  const key = JSON.stringify([question, buttons]);
  if (key === readerButtons) return;
  readerButtons = key;
  const group = document.getElementById("game-buttons");
  group.replaceChildren();
  if (question) {
    const p = document.createElement("p");
    p.textContent = question;
    group.append(p);
  }
  for (const [name, caption] of buttons) {
    const b = document.createElement("button");
    b.type = "button";
    b.tabIndex = -1;
    b.textContent = caption;
    b.dataset.control = name;
    b.addEventListener("click", () => callGame("lushera_press", [name]));
    group.append(b);
  }
};
