// Screen clock: a small clock in the corner of the window.
(() => {
  const clock = document.createElement("div");
  clock.className = "effect-clock";
  clock.style.cssText = "position:fixed;right:14px;bottom:14px;z-index:35;padding:6px 12px;border-radius:6px;" +
    "background:rgba(0,0,0,.65);color:#fff;font:600 15px/1.2 monospace;pointer-events:none";
  const pad = (n) => String(n).padStart(2, "0");
  const tick = () => {
    const d = new Date();
    clock.textContent = `${d.getFullYear()}-${pad(d.getMonth() + 1)}-${pad(d.getDate())} ` +
      `${pad(d.getHours())}:${pad(d.getMinutes())}:${pad(d.getSeconds())}`;
  };
  tick();
  document.body.appendChild(clock);
  setInterval(tick, 1000);
})();
