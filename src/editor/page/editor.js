// The editor's side of a page document. It runs in the program's own script
// world: the document itself runs no script. Every change of the body is
// pushed to the program as "<generation> <load id> <kind>\n<body HTML>", kind
// "e" after an edit, "l" (without the body, which the program has just sent)
// after a load; the program keeps only the newest push
// of its latest load.
(function () {
    'use strict';
    var generation = 0;
    var loadId = 0;
    var workspaceUrl = '';
    var observer = null;

    function body() { return document.body ? document.body.innerHTML : ''; }

    // Pictures that point outside the workspace: files elsewhere on disk and inline data.
    function foreignPictures(nodes) {
        var found = [];
        nodes.forEach(function (node) {
            if (node.nodeType !== 1) return;
            var imgs = node.tagName === 'IMG' ? [node] : Array.prototype.slice.call(node.querySelectorAll('img'));
            imgs.forEach(function (img) {
                var src = img.src || '';
                var outside = src.indexOf('file:') === 0 && src.indexOf(workspaceUrl) !== 0;
                if ((outside || src.indexOf('data:image/') === 0) && found.indexOf(src) < 0) found.push(src);
            });
        });
        return found;
    }

    // A long page is shown in parts: the first screen straight away, the rest on later
    // frames, so that the user can read and type while the browser lays the rest out.
    // Its first part is parsed alone when its text reads back unchanged and ends on a
    // closed block: then the parser holds nothing open there, and the rest parses as it
    // would have after it. The rest is parsed on the next frame (or at once when a report
    // or a command needs it), in a document of its own that shows nothing and fetches
    // nothing; its parts wait there, in order, in "rest" (that document's body, so that
    // they parse exactly as in the page's body). Every report of the page includes them,
    // and nothing counts them as an edit. Every part makes the browser lay out the whole
    // body again, so the parts grow fourfold: a 1 MB page is in after five frames. Pages
    // up to kWhole characters are laid out at once, which costs less than a first screen
    // and a few more frames.
    var kFirstPart = 12000, kPart = 24000, kGrowth = 4, kWhole = 150000;
    var parsing = null;    // the document the page is parsed in
    var restSource = null; // the text after the first part, not parsed yet
    var rest = null;
    var restTimer = null;
    var restPending = false;
    var part = kPart;
    var loadForeign = null; // pictures outside the workspace, reported once the rest is parsed
    var loadAdopt = false;
    function weight(node) {
        if (node.nodeType !== 1) return node.nodeValue ? node.nodeValue.length : 1;
        return node.textContent.length + 24 * (node.getElementsByTagName('*').length + 1);
    }
    function loading() { return rest !== null || restSource !== null; }
    function parsedRest() {
        if (restSource !== null) {
            parsing.body.innerHTML = restSource;
            restSource = null;
            rest = parsing.body.firstChild ? parsing.body : null;
            if (loadForeign) reportForeign(loadForeign.concat(rest ? foreignPictures([rest]) : []));
        }
        return rest;
    }
    function reportForeign(found) {
        loadForeign = null;
        found = found.filter(function (src, i) { return found.indexOf(src) === i; });
        if (found.length) weblark.push(loadAdopt ? 'foreign' : 'outside', JSON.stringify(found));
    }
    function moveIn(budget) {
        if (!parsedRest()) return;
        if (observer) {
            var own = observer.takeRecords(); // the user's edits made before the move
            if (own.length) changed(own);
        }
        var moved = document.createDocumentFragment();
        for (var spent = 0; rest.firstChild && (spent < budget || budget < 0);) {
            spent += weight(rest.firstChild);
            moved.appendChild(rest.firstChild);
        }
        document.body.appendChild(moved);
        if (observer) observer.takeRecords(); // the move itself is no edit
        if (!rest.firstChild) {
            rest = null;
            if (restTimer) clearTimeout(restTimer);
            restTimer = null;
        }
    }
    function nextPart() {
        if (!loading() || restPending) return;
        restPending = true;
        var step = function () {
            if (!restPending) return;
            restPending = false;
            if (restTimer) clearTimeout(restTimer);
            restTimer = null;
            if (restSource !== null) {
                parsedRest(); // a frame of its own
            } else if (rest) {
                moveIn(part);
                part *= kGrowth;
            }
            nextPart();
        };
        // Frames stop while the view is hidden; the timer goes on then.
        requestAnimationFrame(step);
        restTimer = setTimeout(step, 200);
    }
    // The whole page in the body at once: before commands that reach beyond the first parts.
    function finishLoad() {
        restPending = false;
        moveIn(-1);
    }
    // Where the page's first part may end: after a closed block, from kFirstPart characters on;
    // -1 when none is found near there. The first part is left parsed in "parsing".
    function firstPartEnd(html) {
        var blockEnd = /<\/(?:p|div|table|ul|ol|h[1-6]|pre|blockquote|center)>|<hr>/gi;
        blockEnd.lastIndex = kFirstPart;
        for (var tries = 0; tries < 4; ++tries) {
            var m = blockEnd.exec(html);
            if (!m || m.index > kFirstPart * 4) break;
            var end = m.index + m[0].length;
            parsing.body.innerHTML = html.substring(0, end);
            if (parsing.body.innerHTML === html.substring(0, end)) return end;
        }
        return -1;
    }
    window.weblarkEditorLoading = function () { return loading(); };
    document.addEventListener('keydown', function (e) {
        if (loading() && (e.ctrlKey || e.metaKey || e.key === 'End' || e.key === 'PageDown')) finishLoad();
    }, true);
    function pageHtml() { return body() + (parsedRest() ? rest.innerHTML : ''); }

    // Long pages are reported at most every quarter second while the user types;
    // a flush sends what is still held back.
    var held = null;
    var lastLength = 0;
    function sendEdit() {
        held = null;
        generation++;
        var report = generation + ' ' + loadId + ' e\n' + pageHtml();
        lastLength = report.length;
        weblark.push('html', report);
    }

    function changed(records) {
        var added = [];
        records.forEach(function (r) {
            if (r.type === 'childList') added = added.concat(Array.prototype.slice.call(r.addedNodes));
            else if (r.type === 'attributes' && r.target.tagName === 'IMG') added.push(r.target);
        });
        var foreign = foreignPictures(added);
        if (foreign.length) weblark.push('foreign', JSON.stringify(foreign));
        if (held) return;
        if (lastLength > 100000) held = setTimeout(sendEdit, 250);
        else sendEdit();
    }

    // Loads a page; the page is left exactly as given. adopt: pictures outside the
    // workspace are handed to the program to be copied in (text typed in the code
    // view); otherwise they are only counted, and the count is pushed as "outside".
    window.weblarkEditorLoad = function (html, editable, workspace, id, adopt) {
        if (observer) observer.disconnect();
        if (held) clearTimeout(held);
        held = null;
        rest = null;
        restSource = null;
        restPending = false;
        loadForeign = null;
        loadAdopt = adopt;
        lastLength = html.length;
        workspaceUrl = workspace;
        loadId = id;
        if (html.length > kWhole) {
            parsing = document.implementation.createHTMLDocument('');
            var base = parsing.createElement('base');
            base.href = document.baseURI; // addresses resolve as in the page
            parsing.head.appendChild(base);
            var end = firstPartEnd(html);
            document.body.textContent = '';
            if (end >= 0) {
                restSource = html.substring(end);
                var first = document.createDocumentFragment();
                while (parsing.body.firstChild) first.appendChild(parsing.body.firstChild);
                document.body.appendChild(first);
            } else {
                parsing.body.innerHTML = html;
                rest = parsing.body;
                moveIn(kFirstPart);
            }
            part = kPart;
            nextPart();
        } else {
            document.body.innerHTML = html;
        }
        document.body.contentEditable = editable ? 'true' : 'false';
        generation++;
        weblark.push('html', generation + ' ' + loadId + ' l\n');
        if (!editable) return;
        if (restSource !== null) loadForeign = foreignPictures([document.body]);
        else reportForeign(foreignPictures([document.body].concat(rest ? [rest] : [])));
        observer = observer || new MutationObserver(changed);
        observer.observe(document.body, { childList: true, subtree: true, characterData: true, attributes: true });
    };

    // The generation the program must have seen to hold the document as it is now.
    window.weblarkEditorFlush = function () {
        if (observer) {
            var own = observer.takeRecords();
            if (own.length) changed(own);
        }
        if (held) {
            clearTimeout(held);
            sendEdit();
        }
        return generation + ' ' + loadId;
    };

    window.weblarkEditorCommand = function (command, value) {
        if (command === 'selectAll') finishLoad();
        document.body.focus();
        document.execCommand(command, false, value === undefined ? null : value);
    };

    function selection() {
        var sel = window.getSelection();
        return sel && !sel.isCollapsed && document.body.contains(sel.anchorNode) ? sel : null;
    }
    window.weblarkEditorHasSelection = function () { return selection() !== null; };

    // The font of the selection, and of nothing else: family, size in pixels, colour,
    // and the three styles as wanted. The selection is first marked with a family name
    // no page can hold, so that exactly the new font elements get the size.
    window.weblarkEditorFont = function (font) {
        if (!selection()) return;
        var mark = 'weblark-mark-' + Date.now() + '-' + Math.random().toString(36).slice(2);
        document.execCommand('styleWithCSS', false, false);
        if (font.color) document.execCommand('foreColor', false, font.color);
        document.execCommand('fontName', false, mark);
        Array.prototype.forEach.call(document.body.querySelectorAll('font[face="' + mark + '"]'), function (f) {
            f.setAttribute('face', font.family);
            f.style.fontSize = font.size + 'px';
        });
        ['bold', 'italic', 'underline'].forEach(function (style) {
            if (document.queryCommandState(style) !== !!font[style]) document.execCommand(style, false, null);
        });
    };

    // Foreign pictures once the program has dealt with them: a new address, or "" to take the picture out.
    window.weblarkEditorReplacePictures = function (map) {
        var waiting = parsedRest() ? Array.prototype.slice.call(rest.querySelectorAll('img')) : [];
        Array.prototype.slice.call(document.body.querySelectorAll('img')).concat(waiting).forEach(function (img) {
            if (!Object.prototype.hasOwnProperty.call(map, img.src)) return;
            if (map[img.src]) img.setAttribute('src', map[img.src]);
            else img.parentNode.removeChild(img);
        });
    };

    // A fragment at the end of the page: an edit like any other.
    window.weblarkEditorAppend = function (fragment) {
        finishLoad();
        document.body.insertAdjacentHTML('beforeend', fragment);
    };

    window.weblarkEditorInsertPicture = function (url) {
        document.body.focus();
        document.execCommand('insertImage', false, url);
    };

    // Files dropped on the page never open in the pane: pictures go to the program, which
    // copies them into the workspace and inserts them.
    document.addEventListener('dragover', function (e) { e.preventDefault(); }, true);
    document.addEventListener('drop', function (e) {
        var files = e.dataTransfer && e.dataTransfer.files;
        if (!files || !files.length) return;
        e.preventDefault();
        if (!document.body || document.body.contentEditable !== 'true') return;
        Array.prototype.forEach.call(files, function (file) {
            var reader = new FileReader();
            reader.onload = function () { weblark.push('dropped', JSON.stringify([file.name, reader.result])); };
            reader.readAsDataURL(file);
        });
    }, true);
})();
