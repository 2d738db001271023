// Title effect: the display text runs through the window title, one character every
// 300 ms. It starts once the page has been shown and stops while the tab is hidden.
(() => {
  const text = (document.currentScript.dataset.text || document.title) + "　　";
  const start = () => {
    let first = 0, last = 0, id = 0;
    const frame = (now) => {
      if (now - last >= 300) {
        last = now;
        first = (first + 1) % text.length;
        document.title = text.slice(first) + text.slice(0, first);
      }
      id = requestAnimationFrame(frame);
    };
    const toggle = () => { cancelAnimationFrame(id); if (!document.hidden) id = requestAnimationFrame(frame); };
    document.addEventListener("visibilitychange", toggle);
    toggle();
  };
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
