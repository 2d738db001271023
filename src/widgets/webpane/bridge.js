// Page side of the program's web pane: weblark.push(key, value) hands a value
// to the program; __weblark holds the helpers the program calls.
(function () {
    'use strict';
    if (window.weblark) return;
    var queue = [];
    var bridge = null;

    window.weblark = {
        push: function (key, value) {
            var pair = [String(key), value === undefined || value === null ? '' : String(value)];
            if (bridge) bridge.push(pair[0], pair[1]);
            else queue.push(pair);
        }
    };

    function find(name) {
        return document.getElementById(name) || (document.getElementsByName(name) || [])[0] || null;
    }

    window.__weblark = {
        find: find,
        setInner: function (name, html) {
            var el = find(name);
            if (el) el.innerHTML = html;
        },
        prependInner: function (name, html) {
            var el = find(name);
            // Only the new piece is parsed; what the element holds stays as it is.
            if (el) el.insertAdjacentHTML('afterbegin', html);
        },
        setValue: function (name, value) {
            var el = find(name);
            if (el) el.value = value;
        }
    };

    function connect() {
        if (bridge || typeof QWebChannel === 'undefined' || !window.qt || !qt.webChannelTransport) return false;
        new QWebChannel(qt.webChannelTransport, function (channel) {
            bridge = channel.objects.weblark;
            var pending = queue;
            queue = [];
            for (var i = 0; i < pending.length; i++) bridge.push(pending[i][0], pending[i][1]);
        });
        return true;
    }

    if (!connect()) document.addEventListener('DOMContentLoaded', connect);
})();
