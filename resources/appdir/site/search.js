// The search results page: the index's own search interface, started with the
// words the search box in the page head sent (?q=...).
(function () {
    var box = document.getElementById('search');
    if (!window.PagefindUI) {
        box.textContent = '站内搜索暂时无法使用。';
        return;
    }
    var ui = new PagefindUI({ element: '#search', showImages: false, resetStyles: false });
    var words = new URLSearchParams(location.search).get('q');
    if (words)
        ui.triggerSearch(words);
})();
