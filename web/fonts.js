// The page's fonts. The game's text is drawn by the browser in the IPA fonts, which are 20 MB:
// the game starts on cuts of them holding the characters its own text uses (WOFF2, a few
// hundred KB), and once it has drawn its first frame the full fonts come in behind it, for what
// the cuts lack (a hero's name from an imported save, another data set); when all have arrived
// the game is told to draw its text anew in them.
"use strict";

const lusheraFonts = (() => {
  const faces = [["IPAPGothic", "ipagp"], ["IPAGothic", "ipag"], ["IPAMincho", "ipam"]];  // by the layout's face
  const cut = (family) => family + " first";
  let families = faces.map(([family]) => cut(family));

  const add = (family, bytes) => {
    const face = new FontFace(family, bytes);
    document.fonts.add(face);
    return face.load();
  };
  const full = (label) => Promise.all(faces.map(([family, file]) =>
    lusheraLoading.fetchBytes(`fonts/${file}.ttf`, label).then((bytes) => add(family, bytes))));
  const useFull = () => { families = faces.map(([family]) => family); };
  // A browser that takes no WOFF2 starts on the full fonts.
  const first = lusheraProblem ? new Promise(() => {}) :
    Promise.all(faces.map(([, file]) => lusheraLoading.fetchBytes(`fonts/${file}-first.woff2`, "フォント")))
      .then((cuts) => Promise.all(cuts.map((bytes, i) => add(cut(faces[i][0]), bytes))).catch(() => full("フォント").then(useFull)));

  let arriving = null;
  return {
    family: (face) => families[face],
    first,
    // After the first frame, quietly: the full fonts, then the game draws its text anew in them.
    // Resolves once that is done or has failed (the cuts stay then).
    loadFull() {
      arriving ||= first.then(() => (families[0] === cut(faces[0][0]) ? full(null) : null)).then(() => {
        useFull();
        Module.lusheraFontsChanged = true;
        if (Module.lusheraWake) Module.lusheraWake();
        document.body.dataset.fonts = "full";
      }, (e) => console.error("the full fonts did not come:", e));
      return arriving;
    },
  };
})();
