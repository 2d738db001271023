// Title effect: the display text runs through the window title, one character at a time.
(() => {
  const text = (document.currentScript.dataset.text || document.title) + "　　";
  let start = 0;
  setInterval(() => {
    start = (start + 1) % text.length;
    document.title = text.slice(start) + text.slice(0, start);
  }, 300);
})();
