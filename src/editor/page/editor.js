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

    // A long page is parsed at once but shown in parts: the first screen straight
    // away, the rest in parts on later frames, so that the user can read and type while
    // the browser lays the rest out. The page is parsed in a document of its own, which
    // shows nothing and fetches nothing: the parts not yet shown wait there, in order,
    // in "rest" (that document's body, so that they parse exactly as in the page's body);
    // every report of the page includes them, and nothing counts them as an edit.
    // Every part makes the browser lay out the whole body again, so the parts grow
    // fourfold: a 1 MB page is in after four frames. Pages up to kWhole characters are
    // laid out at once, which costs less than a first screen and a few more frames.
    var kFirstPart = 12000, kPart = 24000, kGrowth = 4, kWhole = 150000;
    var rest = null;
    var restTimer = null;
    var restPending = false;
    var part = kPart;
    function weight(node) {
        if (node.nodeType !== 1) return node.nodeValue ? node.nodeValue.length : 1;
        return node.textContent.length + 24 * (node.getElementsByTagName('*').length + 1);
    }
    function moveIn(budget) {
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
        if (!rest || restPending) return;
        restPending = true;
        var step = function () {
            if (!restPending) return;
            restPending = false;
            if (restTimer) clearTimeout(restTimer);
            restTimer = null;
            if (!rest) return;
            moveIn(part);
            part *= kGrowth;
            nextPart();
        };
        // Frames stop while the view is hidden; the timer goes on then.
        requestAnimationFrame(step);
        restTimer = setTimeout(step, 200);
    }
    // The whole page in the body at once: before commands that reach beyond the first parts.
    function finishLoad() {
        restPending = false;
        if (rest) moveIn(-1);
    }
    window.weblarkEditorLoading = function () { return rest !== null; };
    document.addEventListener('keydown', function (e) {
        if (rest && (e.ctrlKey || e.metaKey || e.key === 'End' || e.key === 'PageDown')) finishLoad();
    }, true);
    function pageHtml() { return body() + (rest ? rest.innerHTML : ''); }

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
        restPending = false;
        lastLength = html.length;
        workspaceUrl = workspace;
        loadId = id;
        if (html.length > kWhole) {
            var parsing = document.implementation.createHTMLDocument('');
            var base = parsing.createElement('base');
            base.href = document.baseURI; // addresses resolve as in the page
            parsing.head.appendChild(base);
            parsing.body.innerHTML = html;
            document.body.textContent = '';
            rest = parsing.body;
            part = kPart;
            moveIn(kFirstPart);
            nextPart();
        } else {
            document.body.innerHTML = html;
        }
        document.body.contentEditable = editable ? 'true' : 'false';
        generation++;
        weblark.push('html', generation + ' ' + loadId + ' l\n');
        if (!editable) return;
        var foreign = foreignPictures([document.body].concat(rest ? [rest] : []));
        if (foreign.length) weblark.push(adopt ? 'foreign' : 'outside', JSON.stringify(foreign));
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
        Array.prototype.slice.call(document.body.querySelectorAll('img')).forEach(function (img) {
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
