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
    function stamp(kind) {
        generation++;
        return generation + ' ' + loadId + ' ' + kind + '\n' + (kind === 'l' ? '' : body());
    }

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

    // Long pages are reported at most every quarter second while the user types;
    // a flush sends what is still held back.
    var held = null;
    var lastLength = 0;
    function sendEdit() {
        held = null;
        var report = stamp('e');
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

    window.weblarkEditorLoad = function (html, editable, workspace, id) {
        if (observer) observer.disconnect();
        if (held) clearTimeout(held);
        held = null;
        lastLength = html.length;
        workspaceUrl = workspace;
        loadId = id;
        document.body.innerHTML = html;
        document.body.contentEditable = editable ? 'true' : 'false';
        weblark.push('html', stamp('l'));
        if (!editable) return;
        // Text typed in the code view may name pictures elsewhere on the disk too.
        var foreign = foreignPictures([document.body]);
        if (foreign.length) weblark.push('foreign', JSON.stringify(foreign));
        observer = observer || new MutationObserver(changed);
        observer.observe(document.body, { childList: true, subtree: true, characterData: true, attributes: true });
    };

    // The generation the program must have seen to hold the document as it is now.
    window.weblarkEditorFlush = function () {
        if (held) {
            clearTimeout(held);
            sendEdit();
        }
        return generation + ' ' + loadId;
    };

    window.weblarkEditorCommand = function (command, value) {
        document.body.focus();
        document.execCommand(command, false, value === undefined ? null : value);
    };

    // The font of the selection: family, size in pixels, colour, and the three styles as wanted.
    window.weblarkEditorFont = function (font) {
        var sel = window.getSelection();
        if (!sel || sel.isCollapsed) return;
        document.execCommand('styleWithCSS', false, false);
        document.execCommand('fontName', false, font.family);
        if (font.color) document.execCommand('foreColor', false, font.color);
        document.execCommand('fontSize', false, '7');
        Array.prototype.forEach.call(document.body.querySelectorAll('font[size="7"]'), function (f) {
            f.removeAttribute('size');
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
