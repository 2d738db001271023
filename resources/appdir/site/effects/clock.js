// Screen clock: a small clock in the corner of the window. It starts once the page has
// been shown and ticks on animation frames, so a hidden tab costs nothing.
(() => {
  const pad = (n) => String(n).padStart(2, "0");
  const start = () => {
    const clock = document.createElement("div");
    clock.className = "effect-clock";
    clock.style.cssText = "position:fixed;right:14px;bottom:14px;z-index:35;padding:6px 12px;border-radius:6px;" +
      "background:rgba(0,0,0,.65);color:#fff;font:600 15px/1.2 monospace;pointer-events:none";
    document.body.appendChild(clock);
    let shown = "";
    let id = 0;
    const frame = () => {
      const d = new Date();
      const text = `${d.getFullYear()}-${pad(d.getMonth() + 1)}-${pad(d.getDate())} ` +
        `${pad(d.getHours())}:${pad(d.getMinutes())}:${pad(d.getSeconds())}`;
      if (text !== shown) clock.textContent = shown = text;
      id = requestAnimationFrame(frame);
    };
    const toggle = () => { cancelAnimationFrame(id); if (!document.hidden) id = requestAnimationFrame(frame); };
    document.addEventListener("visibilitychange", toggle);
    toggle();
  };
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
