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
    // frames, so that the user can read and type while the browser parses and lays out
    // the rest. The page is written, in pieces, into a document of its own that shows
    // nothing and fetches nothing: its parser carries on from piece to piece exactly as
    // it would through the page in one go, wherever a piece ends. Each piece is a task of
    // its own, so keys and clicks are handled between them. Children of that document's
    // body that the parser is done with wait there, in order, and move into the page
    // every frame; every move makes the browser lay out the whole body again, so the
    // parts grow fourfold. Every report of the page includes what still waits (parsing
    // the rest at once when needed), and nothing counts the moves as an edit. Pages up to
    // kWhole characters are laid out at once, which costs less than a first screen and
    // a few more frames.
    var kFirstPart = 12000, kPiece = 32000, kPart = 24000, kGrowth = 4, kWhole = 150000;
    var parsing = null; // the document the page is parsed in, while any of it waits there
    var source = null;  // the page's text, while some of it is not written into "parsing" yet
    var written = 0;
    var restTimer = null;
    var restPending = false;
    var part = kPart;
    var due = 0; // characters of the page parsed by the time the next part moves in
    var pieces = new MessageChannel();
    var foreignDue = false; // the page's pictures outside the workspace are reported once it is parsed
    var loadAdopt = false;
    function loading() { return parsing !== null; }
    // Writes up to n more characters of the page into "parsing" (all of them when n < 0).
    function parseMore(n) {
        if (source === null) return;
        var end = n < 0 ? source.length : Math.min(source.length, written + n);
        parsing.write(source.substring(written, end));
        written = end;
        if (written < source.length) return;
        parsing.close();
        source = null;
        if (foreignDue) reportForeign(foreignPictures([document.body, parsing.body]));
    }
    var pumping = false;
    function parseOn() {
        if (pumping || source === null) return;
        pumping = true;
        pieces.port2.postMessage(0);
    }
    pieces.port1.onmessage = function () {
        pumping = false;
        parseMore(kPiece);
        parseOn();
    };
    // How many of the waiting children the parser is done with. While it writes, the last
    // child may still be open, and so may the one before it (content moved out in front
    // of an open table).
    function done() {
        var n = parsing.body.childNodes.length;
        return source === null ? n : Math.max(0, n - 2);
    }
    // The rest of the page, parsed, in the body of "parsing"; null once all of it is in the page.
    function parsedRest() {
        if (!parsing) return null;
        parseMore(-1);
        return parsing.body;
    }
    function reportForeign(found) {
        foreignDue = false;
        found = found.filter(function (src, i) { return found.indexOf(src) === i; });
        if (found.length) weblark.push(loadAdopt ? 'foreign' : 'outside', JSON.stringify(found));
    }
    // Moves the waiting children the parser is done with into the page (after parsing all
    // of the rest when whole). They go in one piece: node by node costs many times more.
    function moveIn(whole) {
        if (!parsing) return;
        if (whole) parseMore(-1);
        if (observer) {
            var own = observer.takeRecords(); // the user's edits made before the move
            if (own.length) changed(own);
        }
        var waiting = parsing.body;
        var n = done();
        if (n > 0) {
            var range = parsing.createRange();
            range.setStart(waiting, 0);
            range.setEnd(waiting, n);
            var moved = document.adoptNode(range.extractContents());
            document.body.appendChild(moved);
            if (observer) observer.takeRecords(); // the move itself is no edit
        }
        if (source === null && !waiting.firstChild) {
            parsing = null;
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
            if (performance.now() < quietUntil) return nextPart();
            // Each part is parsed by the time it moves in, whether or not the pieces got there.
            due += part;
            part *= kGrowth;
            if (written < due) parseMore(due - written);
            moveIn(false);
            nextPart();
        };
        // Frames stop while the view is hidden; the timer goes on then.
        requestAnimationFrame(step);
        restTimer = setTimeout(step, 200);
    }
    // A key or a click is drawn before the next part moves in: laying out a part can take
    // a while. The parts wait while the user types, and go on in the pauses.
    var quietUntil = 0;
    ['keydown', 'mousedown', 'input'].forEach(function (type) {
        document.addEventListener(type, function () {
            if (loading()) quietUntil = performance.now() + 120;
        }, true);
    });
    // The whole page in the body at once: before commands that reach beyond the first parts.
    function finishLoad() {
        restPending = false;
        moveIn(true);
    }
    window.weblarkEditorLoading = function () { return loading(); };
    document.addEventListener('keydown', function (e) {
        if (loading() && (e.ctrlKey || e.metaKey || e.key === 'End' || e.key === 'PageDown')) finishLoad();
    }, true);
    function pageHtml() { return body() + (parsedRest() ? parsing.body.innerHTML : ''); }

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
        parsing = null;
        source = null;
        restPending = false;
        foreignDue = false;
        loadAdopt = adopt;
        lastLength = html.length;
        workspaceUrl = workspace;
        loadId = id;
        // Set while the body is empty: on a filled body it makes the browser restyle all of it.
        if (document.body.contentEditable !== String(editable)) {
            document.body.textContent = '';
            document.body.contentEditable = String(editable);
        }
        if (html.length > kWhole) {
            parsing = document.implementation.createHTMLDocument('');
            parsing.open();
            // Addresses resolve as in the page; the page is parsed as the body's content.
            parsing.write('<!DOCTYPE html><head><base href="' +
                document.baseURI.replace(/&/g, '&amp;').replace(/"/g, '&quot;') + '"></head><body>');
            source = html;
            written = 0;
            parseMore(kFirstPart);
            while (source !== null && done() === 0) parseMore(kPiece);
            document.body.textContent = '';
            part = kPart;
            due = written;
            moveIn(false);
            parseOn();
            nextPart();
        } else {
            document.body.innerHTML = html;
        }
        generation++;
        weblark.push('html', generation + ' ' + loadId + ' l\n');
        if (!editable) return;
        if (source !== null) foreignDue = true;
        else reportForeign(foreignPictures([document.body].concat(parsing ? [parsing.body] : [])));
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
        var waiting = parsedRest() ? Array.prototype.slice.call(parsing.body.querySelectorAll('img')) : [];
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
