// Text following the mouse: the display text's characters trail behind the pointer,
// each one a little later than the one before; mode "colour" paints them in turn.
// It starts once the page has been shown and stops while the tab is hidden.
(() => {
  const script = document.currentScript;
  const text = Array.from(script.dataset.text || "欢迎光临");
  const colourful = script.dataset.mode === "colour";
  const hues = [0, 30, 55, 120, 200, 260, 300];
  const start = () => {
    const letters = text.map((ch, i) => {
      const s = document.createElement("span");
      s.textContent = ch;
      s.style.cssText = "position:fixed;left:-50px;top:-50px;z-index:60;pointer-events:none;font-weight:700;will-change:transform;" +
        `font-size:16px;color:${colourful ? `hsl(${hues[i % hues.length]},85%,50%)` : "var(--primary,#c00)"}`;
      document.body.appendChild(s);
      return { el: s, x: -50, y: -50 };
    });
    let mx = -50, my = -50;
    document.addEventListener("mousemove", (e) => { mx = e.clientX + 12; my = e.clientY + 10; });
    const step = () => {
      let tx = mx, ty = my;
      letters.forEach((l) => {
        l.x += (tx - l.x) * 0.35;
        l.y += (ty - l.y) * 0.35;
        l.el.style.transform = `translate(${l.x + 50}px, ${l.y + 50}px)`;
        tx = l.x + 16;
        ty = l.y;
      });
      id = requestAnimationFrame(step);
    };
    let id = 0;
    const toggle = () => { cancelAnimationFrame(id); if (!document.hidden) id = requestAnimationFrame(step); };
    document.addEventListener("visibilitychange", toggle);
    toggle();
  };
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
