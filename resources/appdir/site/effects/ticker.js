// A ticker line at the foot of the page, in one of seven manners: scrolling left or right,
// typed out, blinking, bouncing between the ends, revealed letter by letter, or in turning colours.
// It starts once the page has been shown and stops while the tab is hidden. Each frame only
// moves or recolours the line (on a layer of its own); the widths are measured when they change.
(() => {
  const script = document.currentScript;
  const mode = script.dataset.mode || "scroll";
  const text = script.dataset.text || document.title;
  const start = () => {
    const bar = document.createElement("div");
    bar.className = "ticker";
    const line = document.createElement("span");
    line.style.cssText = "display:inline-block;will-change:transform";
    line.textContent = text;
    bar.appendChild(line);
    document.body.appendChild(bar);
    document.body.classList.add("has-ticker");
    let t = 0;
    let w = 0, lw = 0;
    const measure = () => { w = bar.clientWidth; lw = line.offsetWidth; };
    measure();
    addEventListener("resize", measure);
    const chars = Array.from(text);
    const show = (s) => { if (line.textContent !== s) line.textContent = s; };
    const modes = {
      "scroll": () => {
        line.style.transform = `translateX(${w - (t * 2) % (w + lw)}px)`;
      },
      "scroll-right": () => {
        line.style.transform = `translateX(${(t * 2) % (w + lw) - lw}px)`;
      },
      "type": () => { show(chars.slice(0, Math.floor(t / 6) % (chars.length + 15)).join("")); },
      "blink": () => { line.style.visibility = Math.floor(t / 30) % 2 ? "hidden" : "visible"; },
      "bounce": () => {
        const room = Math.max(0, w - lw - 24);
        const p = (t * 1.5) % (2 * room || 1);
        line.style.transform = `translateX(${p > room ? 2 * room - p : p}px)`;
      },
      "reveal": () => {
        const k = Math.floor(t / 8) % (2 * chars.length + 10);
        show(k <= chars.length ? chars.slice(0, k).join("") : chars.slice(Math.min(chars.length, k - chars.length)).join(""));
      },
      "rainbow": () => { line.style.color = `hsl(${(t * 3) % 360},90%,70%)`; },
    };
    const step = modes[mode] || modes.scroll;
    let id = 0;
    const frame = () => { t++; step(); id = requestAnimationFrame(frame); };
    const toggle = () => { cancelAnimationFrame(id); if (!document.hidden) id = requestAnimationFrame(frame); };
    document.addEventListener("visibilitychange", toggle);
    toggle();
  };
  if (document.readyState === "complete") start(); else addEventListener("load", start, { once: true });
})();
