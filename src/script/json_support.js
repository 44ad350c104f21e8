// Loaded into every JSON document's engine before anything else. The engine's own JSON object
// is removed first, so these definitions are the ones in force.

// Enumerable properties of c, own and inherited, less the two members added to
// Object.prototype at the end of this script.
function get__count(c) {
    var n = -2;
    for (k in c) {
        n++;
    }
    return n;
}

if (typeof JSON !== 'object') {
    JSON = {};
}

(function () {
    var objectToString = Object.prototype.toString;
    var hasOwn = Object.prototype.hasOwnProperty;

    function classOf(v) {
        return objectToString.call(v);
    }

    function isArray(v) {
        return classOf(v) === '[object Array]';
    }

    function isObject(v) {
        return v !== null && (typeof v === 'object' || typeof v === 'function');
    }

    function ownKeys(v) {
        var keys = [];
        for (var key in v) {
            if (hasOwn.call(v, key)) {
                keys.push(key);
            }
        }
        return keys;
    }

    function hexEscape(c) {
        var h = c.charCodeAt(0).toString(16);
        return '\\u' + '0000'.slice(h.length) + h;
    }

    function twoDigits(n) {
        return n < 10 ? '0' + n : String(n);
    }

    if (typeof Date.prototype.toJSON !== 'function') {
        Date.prototype.toJSON = function () {
            if (!isFinite(this.valueOf())) {
                return null;
            }
            return this.getUTCFullYear() + '-' + twoDigits(this.getUTCMonth() + 1) + '-' +
                twoDigits(this.getUTCDate()) + 'T' + twoDigits(this.getUTCHours()) + ':' +
                twoDigits(this.getUTCMinutes()) + ':' + twoDigits(this.getUTCSeconds()) + 'Z';
        };
        String.prototype.toJSON = function () {
            return this.valueOf();
        };
        Number.prototype.toJSON = function () {
            return this.valueOf();
        };
        Boolean.prototype.toJSON = function () {
            return this.valueOf();
        };
    }

    if (typeof JSON.stringify !== 'function') {
        var escapable = /[\\"\u0000-\u001f\u007f-\u009f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;

        var escapeChar = function (c) {
            switch (c) {
                case '\b': return '\\b';
                case '\t': return '\\t';
                case '\n': return '\\n';
                case '\f': return '\\f';
                case '\r': return '\\r';
                case '"': return '\\"';
                case '\\': return '\\\\';
            }
            return hexEscape(c);
        };

        var quote = function (s) {
            return '"' + s.replace(escapable, escapeChar) + '"';
        };

        // One call's settings and the objects being written, outermost first.
        var Writer = function (replacer, propertyList, gap) {
            this.replacer = replacer;
            this.propertyList = propertyList;
            this.gap = gap;
            this.indent = '';
            this.stack = [];
        };

        Writer.prototype.enter = function (value) {
            for (var i = 0; i < this.stack.length; i++) {
                if (this.stack[i] === value) {
                    throw new TypeError('JSON.stringify');
                }
            }
            this.stack.push(value);
            this.indent += this.gap;
        };

        Writer.prototype.leave = function (stepback) {
            this.stack.pop();
            this.indent = stepback;
        };

        Writer.prototype.wrap = function (open, parts, close, stepback) {
            if (parts.length === 0) {
                return open + close;
            }
            if (this.gap === '') {
                return open + parts.join(',') + close;
            }
            return open + '\n' + this.indent + parts.join(',\n' + this.indent) + '\n' +
                stepback + close;
        };

        Writer.prototype.array = function (value) {
            var stepback = this.indent;
            this.enter(value);
            var parts = [];
            var length = value.length;
            for (var i = 0; i < length; i++) {
                var s = this.str(String(i), value);
                parts.push(s === undefined ? 'null' : s);
            }
            var text = this.wrap('[', parts, ']', stepback);
            this.leave(stepback);
            return text;
        };

        Writer.prototype.object = function (value) {
            var stepback = this.indent;
            this.enter(value);
            var keys = this.propertyList || ownKeys(value);
            var colon = this.gap === '' ? ':' : ': ';
            var parts = [];
            for (var i = 0; i < keys.length; i++) {
                var s = this.str(keys[i], value);
                if (s !== undefined) {
                    parts.push(quote(keys[i]) + colon + s);
                }
            }
            var text = this.wrap('{', parts, '}', stepback);
            this.leave(stepback);
            return text;
        };

        Writer.prototype.str = function (key, holder) {
            var value = holder[key];
            if (isObject(value) && typeof value.toJSON === 'function') {
                value = value.toJSON(key);
            }
            if (this.replacer) {
                value = this.replacer.call(holder, key, value);
            }
            if (isObject(value)) {
                var cls = classOf(value);
                if (cls === '[object Number]') {
                    value = Number(value);
                } else if (cls === '[object String]') {
                    value = String(value);
                } else if (cls === '[object Boolean]') {
                    value = value.valueOf();
                }
            }
            if (value === null) {
                return 'null';
            }
            switch (typeof value) {
                case 'string':
                    return quote(value);
                case 'number':
                    return isFinite(value) ? String(value) : 'null';
                case 'boolean':
                    return String(value);
                case 'object':
                    return isArray(value) ? this.array(value) : this.object(value);
            }
            return undefined;
        };

        var namesOf = function (replacer) {
            var names = [];
            for (var i = 0; i < replacer.length; i++) {
                var v = replacer[i];
                var name;
                if (typeof v === 'string') {
                    name = v;
                } else if (typeof v === 'number') {
                    name = String(v);
                } else if (isObject(v) && (classOf(v) === '[object String]' ||
                                           classOf(v) === '[object Number]')) {
                    name = String(v);
                }
                if (name !== undefined) {
                    var seen = false;
                    for (var j = 0; j < names.length; j++) {
                        seen = seen || names[j] === name;
                    }
                    if (!seen) {
                        names.push(name);
                    }
                }
            }
            return names;
        };

        var gapOf = function (space) {
            if (isObject(space)) {
                if (classOf(space) === '[object Number]') {
                    space = Number(space);
                } else if (classOf(space) === '[object String]') {
                    space = String(space);
                }
            }
            if (typeof space === 'number') {
                var n = space > 0 ? Math.min(10, Math.floor(space)) : 0;
                return '          '.slice(0, n);
            }
            return typeof space === 'string' ? space.slice(0, 10) : '';
        };

        JSON.stringify = function (value, replacer, space) {
            var fn;
            var names;
            if (typeof replacer === 'function') {
                fn = replacer;
            } else if (isArray(replacer)) {
                names = namesOf(replacer);
            } else if (replacer !== undefined && replacer !== null) {
                throw new Error('JSON.stringify');
            }
            var wrapper = {};
            wrapper[''] = value;
            return new Writer(fn, names, gapOf(space)).str('', wrapper);
        };
    }

    if (typeof JSON.parse !== 'function') {
        var dangerous = /[\u0000\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
        var escapes = /\\(?:["\\\/bfnrt]|u[0-9a-fA-F]{4})/g;
        var tokens = /"[^"\\\n\r]*"|true|false|null|-?\d+(?:\.\d*)?(?:[eE][+\-]?\d+)?/g;
        var openers = /(?:^|:|,)(?:\s*\[)+/g;
        var structure = /^[\],:{}\s]*$/;

        var walk = function (holder, key, reviver) {
            var value = holder[key];
            if (isObject(value)) {
                var keys = [];
                if (isArray(value)) {
                    for (var i = 0; i < value.length; i++) {
                        keys.push(String(i));
                    }
                } else {
                    keys = ownKeys(value);
                }
                for (var j = 0; j < keys.length; j++) {
                    var v = walk(value, keys[j], reviver);
                    if (v === undefined) {
                        delete value[keys[j]];
                    } else {
                        value[keys[j]] = v;
                    }
                }
            }
            return reviver.call(holder, key, value);
        };

        JSON.parse = function (text, reviver) {
            text = String(text).replace(dangerous, hexEscape);
            var rest = text.replace(escapes, '@').replace(tokens, ']').replace(openers, '');
            if (!structure.test(rest)) {
                throw new SyntaxError('JSON.parse');
            }
            var result;
            try {
                result = eval('(' + text + ')');
            } catch (e) {
                throw new SyntaxError('JSON.parse');
            }
            if (typeof reviver !== 'function') {
                return result;
            }
            var root = {};
            root[''] = result;
            return walk(root, '', reviver);
        };
    }
})();

if (typeof Object.prototype.toJSONString === 'undefined') {
    Object.prototype.toJSONString = function (filter) {
        return JSON.stringify(this, filter);
    };
    Object.prototype.parseJSON = function (filter) {
        return JSON.parse(this, filter);
    };
}
