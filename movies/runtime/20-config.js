// Reading the album configuration: the XML file named like the movie, fetched,
// then requested with XMLHttpRequest, then taken from the page's inline copy.

function requestText(url) {
    return new Promise(function (resolve, reject) {
        let xhr;
        try {
            xhr = new XMLHttpRequest();
            xhr.open('GET', url, true);
            xhr.overrideMimeType('text/plain; charset=UTF-8');
        } catch (e) {
            reject(e);
            return;
        }
        xhr.onload = function () {
            // file:// answers with status 0 when it found the file.
            if ((xhr.status === 0 || (xhr.status >= 200 && xhr.status < 300)) && xhr.responseText)
                resolve(xhr.responseText);
            else
                reject(new Error('status ' + xhr.status));
        };
        xhr.onerror = function () { reject(new Error('request failed')); };
        try {
            xhr.send();
        } catch (e) {
            reject(e);
        }
    });
}

function inlineConfiguration() {
    const el = document.getElementById('album-config');
    return el ? el.textContent : '';
}

async function readConfiguration(xmlUrl) {
    if (xmlUrl) {
        try {
            const response = await fetch(xmlUrl, { cache: 'no-store' });
            if (response.ok) {
                const text = await response.text();
                if (text.trim())
                    return { text: text, source: 'fetch' };
            }
        } catch (e) { /* fall through: file:// pages refuse fetch */ }
        try {
            const text = await requestText(xmlUrl);
            if (text.trim())
                return { text: text, source: 'xhr' };
        } catch (e) { /* fall through to the inline copy */ }
    }
    await new Promise(onDomReady);
    const text = inlineConfiguration();
    if (text.trim())
        return { text: text, source: 'inline' };
    return { text: '', source: 'none' };
}

// Child element by name. XML names match exactly; when the text had to be read
// by the forgiving HTML parser, names were lower-cased, so compare without case.
function childElement(parent, name, loose) {
    if (!parent)
        return null;
    for (let c = parent.firstElementChild; c; c = c.nextElementSibling) {
        const n = c.localName || c.nodeName;
        if (n === name || (loose && n.toLowerCase() === name.toLowerCase()))
            return c;
    }
    return null;
}

function attribute(el, name, loose) {
    if (!el)
        return null;
    if (el.hasAttribute(name))
        return el.getAttribute(name);
    if (loose && el.hasAttribute(name.toLowerCase()))
        return el.getAttribute(name.toLowerCase());
    return null;
}

function parsePositive(text, fallback, max) {
    const v = parseFloat(text);
    return isFinite(v) && v > 0 ? Math.min(v, max) : fallback;
}

function parseDocument(text) {
    if (!text || !text.trim())
        return null;
    try {
        const doc = new DOMParser().parseFromString(text, 'application/xml');
        if (!doc.getElementsByTagName('parsererror').length && doc.documentElement)
            return { root: doc.documentElement, loose: false };
    } catch (e) { /* try the forgiving parser */ }
    try {
        // A configuration with a stray "&" or an unclosed element: the HTML parser
        // still recovers its elements and attributes.
        // It does not know "<x/>": such elements are closed explicitly first.
        const html = text.replace(/<\?xml[^>]*>/, '').replace(/<([A-Za-z_][\w.:-]*)([^<>]*?)\/>/g, '<$1$2></$1>');
        const doc = new DOMParser().parseFromString('<body>' + html + '</body>', 'text/html');
        const root = doc.body && doc.body.firstElementChild;
        if (root)
            return { root: root, loose: true };
    } catch (e) { /* unreadable */ }
    return null;
}

// The parts of the configuration a movie plays by. `defaults` are the
// template's own size.
function parseConfiguration(text, defaults) {
    const config = {
        width: defaults.width,
        height: defaults.height,
        autoPlay: false,
        musicPath: '',
        slides: [],
        valid: false,
    };
    const parsed = parseDocument(text);
    if (!parsed)
        return config;
    const root = parsed.root;
    const loose = parsed.loose;
    config.valid = true;
    const global = childElement(childElement(root, 'preferences', loose), 'global', loose);
    const basic = childElement(global, 'basic_property', loose);
    config.width = Math.round(parsePositive(attribute(basic, 'movieWidth', loose), defaults.width, 4096));
    config.height = Math.round(parsePositive(attribute(basic, 'movieHeight', loose), defaults.height, 4096));
    config.autoPlay = attribute(basic, 'startAutoPlay', loose) === 'true';
    config.musicPath = attribute(childElement(global, 'music_property', loose), 'path', loose) || '';
    const album = childElement(root, 'album', loose);
    if (album) {
        for (let s = album.firstElementChild; s; s = s.nextElementSibling) {
            const n = (s.localName || s.nodeName).toLowerCase();
            if (n !== 'slide')
                continue;
            config.slides.push({
                photo: attribute(s, 'd_URL', loose) || '',
                thumb: attribute(s, 'jpegURL', loose) || '',
                transition: (attribute(s, 'transition', loose) || '').trim(),
                panzoom: (attribute(s, 'panzoom', loose) || '').trim() === '1',
                phototime: parsePositive(attribute(s, 'phototime', loose), 3, 3600),
                url: safeLink(attribute(s, 'url', loose) || ''),
            });
        }
    }
    return config;
}
