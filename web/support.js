// Whether this browser can run the page at all, and if not, why, on the page in the player's
// words: the game needs WebAssembly with its vector instructions, and a page served over http
// (a page opened from a file may fetch nothing).
"use strict";

const lusheraProblem = (() => {
  const browsers = "Chrome・Edge 91、Firefox 89、Safari 16.4 以降の、新しいブラウザーで開いてください。";
  if (location.protocol === "file:")
    return "このページはファイルから直接は開けません。ウェブサーバーから http で開いてください。" +
      "たとえばページのフォルダーで python3 -m http.server 8000 を実行し、http://localhost:8000/ を開きます。";
  if (typeof WebAssembly !== "object" || typeof WebAssembly.validate !== "function")
    return "このブラウザーでは遊べません。WebAssembly が使えません（設定や拡張機能で止められていれば、それを外してください）。" + browsers;
  // The smallest module using a vector instruction: (func (result v128) i32.const 0 i8x16.splat
  // i8x16.popcnt).
  const simd = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11]);
  if (!WebAssembly.validate(simd))
    return "このブラウザーでは遊べません。WebAssembly のベクトル命令（SIMD）が使えません。" + browsers;
  return "";
})();
if (lusheraProblem) {
  const status = document.getElementById("status");
  status.textContent = lusheraProblem;
  status.classList.add("problem");
}
