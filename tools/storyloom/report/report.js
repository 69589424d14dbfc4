// Stepping through the run: one step shown at a time, its evaluated channels highlighted on the
// graph. `run` (written before this script) holds the channels' ids in the order of the graph's
// node ids ("channel-N"), each step's evaluated ids, and the step to open on.
// The script stands in the head: the other steps are hidden before the page is first laid out,
// which a long run would otherwise lay out whole.
document.documentElement.classList.add("js");
document.addEventListener("DOMContentLoaded", function () {
  "use strict";
  const sections = Array.from(document.querySelectorAll("section.step"));
  const entries = Array.from(document.querySelectorAll(".step-list > li"));
  if (sections.length === 0 || sections.length !== entries.length) return;
  const nav = document.querySelector("nav.steps");
  const picture = document.querySelector(".picture");
  const nodeOf = new Map();
  run.channels.forEach(function (id, index) {
    if (!nodeOf.has(id)) nodeOf.set(id, "channel-" + index);
  });
  let current = -1;
  let lit = [];

  // Scrolls `box` alone (never the page) so that `element` is in sight.
  function reveal(box, element) {
    if (!box || !element) return;
    const outer = box.getBoundingClientRect();
    const inner = element.getBoundingClientRect();
    if (inner.top < outer.top || inner.bottom > outer.bottom)
      box.scrollTop += inner.top - outer.top - (outer.height - inner.height) / 2;
    if (inner.left < outer.left || inner.right > outer.right)
      box.scrollLeft += inner.left - outer.left - (outer.width - inner.width) / 2;
  }

  // `remember`: the address names the step, so a reload opens it again. Not on opening, since the
  // browser would then scroll to it as to any address's step when the page has loaded.
  function select(index, remember) {
    index = Math.max(0, Math.min(sections.length - 1, index));
    if (current >= 0) {
      sections[current].classList.remove("current");
      entries[current].removeAttribute("aria-current");
    }
    lit.forEach(function (node) { node.classList.remove("evaluated"); });
    current = index;
    sections[index].classList.add("current");
    entries[index].setAttribute("aria-current", "step");
    lit = (run.evaluated[index] || [])
      .map(function (id) { return nodeOf.has(id) ? document.getElementById(nodeOf.get(id)) : null; })
      .filter(Boolean);
    lit.forEach(function (node) { node.classList.add("evaluated"); });
    reveal(nav, entries[index]);
    reveal(picture || document.querySelector(".channel-list"), lit[0]);
    if (remember) history.replaceState(null, "", "#step-" + index);
  }

  function stepOf(hash) {
    const match = /^#step-(\d+)$/.exec(hash);
    return match && Number(match[1]) < sections.length ? Number(match[1]) : -1;
  }

  if (picture) {
    // Small graphs fit the page's width; the button shows any graph at its own size.
    const size = document.createElement("button");
    size.type = "button";
    size.textContent = "actual size";
    size.addEventListener("click", function () {
      size.textContent = picture.classList.toggle("fit") ? "actual size" : "fit to width";
      reveal(picture, lit[0]);
    });
    picture.before(size);
    picture.classList.add("fit");
  }
  document.addEventListener("click", function (event) {
    const link = event.target.closest("a[href^='#step-']");
    if (!link || stepOf(link.getAttribute("href")) < 0) return;
    event.preventDefault();
    select(stepOf(link.getAttribute("href")), true);
    // A link from outside the list (the summary's first failure) goes to the step shown.
    if (!link.closest(".step-list")) sections[current].scrollIntoView({ block: "start" });
  });
  document.addEventListener("keydown", function (event) {
    if (event.altKey || event.ctrlKey || event.metaKey || event.target.closest("input, textarea, select")) return;
    const move = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1 }[event.key];
    if (!move) return;
    event.preventDefault();
    select(current + move, true);
  });
  window.addEventListener("hashchange", function () {
    if (stepOf(location.hash) >= 0) select(stepOf(location.hash), false);
  });
  select(stepOf(location.hash) >= 0 ? stepOf(location.hash) : run.open, false);
});
