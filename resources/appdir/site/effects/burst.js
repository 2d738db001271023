// Click effect: each click lets the display text (or a heart) float up from the pointer.
(() => {
  const text = document.currentScript.dataset.text || "❤";
  const words = text.split(/\s+/).filter(Boolean);
  let n = 0;
  const start = () => document.addEventListener("click", (e) => {
    const s = document.createElement("span");
    s.textContent = words.length ? words[n++ % words.length] : "❤";
    s.style.cssText = `position:fixed;left:${e.clientX}px;top:${e.clientY}px;z-index:60;pointer-events:none;` +
      `font-weight:700;color:hsl(${Math.floor(Math.random() * 360)},80%,50%);transform:translate(-50%,-50%);` +
      "transition:transform 1.2s ease-out,opacity 1.2s ease-out";
    document.body.appendChild(s);
    requestAnimationFrame(() => {
      s.style.transform = "translate(-50%,-180%)";
      s.style.opacity = "0";
    });
    setTimeout(() => s.remove(), 1200);
  });
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
