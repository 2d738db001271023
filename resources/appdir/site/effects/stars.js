// Stars following the mouse: each move leaves a small star that fades and falls.
(() => {
  const colours = ["#ffd54f", "#ff8a65", "#4fc3f7", "#aed581", "#f06292"];
  let last = 0;
  const start = () => document.addEventListener("mousemove", (e) => {
    const now = performance.now();
    if (now - last < 40) return;
    last = now;
    const star = document.createElement("span");
    star.textContent = "★";
    star.style.cssText = `position:fixed;left:${e.clientX}px;top:${e.clientY}px;z-index:60;pointer-events:none;` +
      `color:${colours[Math.floor(Math.random() * colours.length)]};font-size:${10 + Math.random() * 10}px;` +
      "transition:transform 1s ease-out,opacity 1s ease-out";
    document.body.appendChild(star);
    requestAnimationFrame(() => {
      star.style.transform = `translate(${Math.random() * 30 - 15}px, ${20 + Math.random() * 30}px)`;
      star.style.opacity = "0";
    });
    setTimeout(() => star.remove(), 1000);
  });
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
