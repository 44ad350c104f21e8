// authcode cipher, decoding side, run by the client once per service reply.
// Plain ES3 (JScript) so that it runs in any engine with JScript semantics; ASCII only, so the
// text crosses the host boundary unchanged.
//
// Strings handled here are of two kinds: "byte strings", whose characters all have codes 0 to
// 255 and stand for bytes (Base64 output, the cipher stream), and ordinary strings of UTF-16
// characters. The service encrypts UTF-8 bytes; an accepted reply is returned as an ordinary
// string decoded from them, so that the host turns its characters into client text.

var AUTHCODE_SALT_LENGTH = 4;

var BASE64_CHARS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Character code (modulo 256) to Base64 value, -1 outside the alphabet.
var BASE64_VALUES = (function () {
    var table = new Array(256);
    var i;
    for (i = 0; i < 256; i++) {
        table[i] = -1;
    }
    for (i = 0; i < BASE64_CHARS.length; i++) {
        table[BASE64_CHARS.charCodeAt(i)] = i;
    }
    return table;
})();

var MD5_SINES = [
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee,
    0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be,
    0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa,
    0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c,
    0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05,
    0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039,
    0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1,
    0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391
];

var MD5_SHIFTS = [7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21];

function chr(n) {
    return String.fromCharCode(n);
}

function ord(s) {
    return s.charCodeAt(0);
}

// Whole seconds since 1970-01-01 00:00 UTC.
function time() {
    var ms = new Date().getTime();
    return (ms - ms % 1000) / 1000;
}

// The UTF-8 bytes of a string's characters, as an array of numbers. A surrogate pair is one
// character; a lone surrogate has no UTF-8 form and is written as U+FFFD.
function utf8_bytes(str) {
    var bytes = [];
    var i, c, next;
    for (i = 0; i < str.length; i++) {
        c = str.charCodeAt(i);
        if (c >= 0xd800 && c <= 0xdfff) {
            next = i + 1 < str.length ? str.charCodeAt(i + 1) : 0;
            if (c <= 0xdbff && next >= 0xdc00 && next <= 0xdfff) {
                c = 0x10000 + ((c - 0xd800) << 10) + (next - 0xdc00);
                i++;
            } else {
                c = 0xfffd;
            }
        }
        if (c < 0x80) {
            bytes.push(c);
        } else if (c < 0x800) {
            bytes.push(0xc0 | (c >> 6), 0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            bytes.push(0xe0 | (c >> 12), 0x80 | ((c >> 6) & 0x3f), 0x80 | (c & 0x3f));
        } else {
            bytes.push(0xf0 | (c >> 18), 0x80 | ((c >> 12) & 0x3f), 0x80 | ((c >> 6) & 0x3f),
                       0x80 | (c & 0x3f));
        }
    }
    return bytes;
}

// The string whose UTF-8 form is the byte string, or null when the bytes are not well-formed
// UTF-8 (overlong forms, surrogates and values above U+10FFFF included), so that encoding the
// result again gives back exactly these bytes.
function utf8_decode(bytes) {
    var out = [];
    var i = 0;
    var n = bytes.length;
    var b, c, count, min, k, t;
    while (i < n) {
        b = bytes.charCodeAt(i++);
        if (b < 0x80) {
            out.push(String.fromCharCode(b));
            continue;
        }
        if (b >= 0xc2 && b <= 0xdf) {
            count = 1; c = b & 0x1f; min = 0x80;
        } else if (b >= 0xe0 && b <= 0xef) {
            count = 2; c = b & 0x0f; min = 0x800;
        } else if (b >= 0xf0 && b <= 0xf4) {
            count = 3; c = b & 0x07; min = 0x10000;
        } else {
            return null;
        }
        if (i + count > n) {
            return null;
        }
        for (k = 0; k < count; k++) {
            t = bytes.charCodeAt(i++);
            if ((t & 0xc0) != 0x80) {
                return null;
            }
            c = (c << 6) | (t & 0x3f);
        }
        if (c < min || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff)) {
            return null;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push(String.fromCharCode(0xd800 + (c >> 10), 0xdc00 + (c & 0x3ff)));
        } else {
            out.push(String.fromCharCode(c));
        }
    }
    return out.join("");
}

function md5_rotate(x, n) {
    return (x << n) | (x >>> (32 - n));
}

// MD5 (RFC 1321) of an array of byte values, as 32 lower-case hexadecimal digits.
function md5_of_bytes(bytes) {
    var length = bytes.length;
    var blocks = ((length + 8) >> 6) + 1;
    var words = new Array(blocks * 16);
    var i, j;
    for (i = 0; i < words.length; i++) {
        words[i] = 0;
    }
    for (i = 0; i < length; i++) {
        words[i >> 2] |= bytes[i] << ((i % 4) * 8);
    }
    words[length >> 2] |= 0x80 << ((length % 4) * 8);
    words[blocks * 16 - 2] = (length * 8) | 0;
    words[blocks * 16 - 1] = Math.floor(length / 0x20000000) | 0;

    var a0 = 0x67452301, b0 = 0xefcdab89, c0 = 0x98badcfe, d0 = 0x10325476;
    var a, b, c, d, f, g, round, rotated;
    for (j = 0; j < words.length; j += 16) {
        a = a0; b = b0; c = c0; d = d0;
        for (i = 0; i < 64; i++) {
            round = i >> 4;
            if (round == 0) {
                f = (b & c) | (~b & d);
                g = i;
            } else if (round == 1) {
                f = (d & b) | (~d & c);
                g = (5 * i + 1) % 16;
            } else if (round == 2) {
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
            } else {
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
            }
            rotated = md5_rotate((a + f + MD5_SINES[i] + words[j + g]) | 0,
                                 MD5_SHIFTS[round * 4 + i % 4]);
            a = d;
            d = c;
            c = b;
            b = (b + rotated) | 0;
        }
        a0 = (a0 + a) | 0;
        b0 = (b0 + b) | 0;
        c0 = (c0 + c) | 0;
        d0 = (d0 + d) | 0;
    }

    var hex = "0123456789abcdef";
    var state = [a0, b0, c0, d0];
    var out = "";
    var byteValue;
    for (i = 0; i < 4; i++) {
        for (j = 0; j < 4; j++) {
            byteValue = (state[i] >>> (j * 8)) & 0xff;
            out += hex.charAt(byteValue >> 4) + hex.charAt(byteValue & 0x0f);
        }
    }
    return out;
}

// MD5 of the UTF-8 form of the string's characters.
function hex_md5(str) {
    return md5_of_bytes(utf8_bytes(String(str)));
}

function md5(str) {
    return hex_md5(str);
}

// Base64 to a byte string. Characters outside the alphabet are skipped; a quartet cut short
// by the end of the input yields the characters completed so far.
function base64_decode(str) {
    var len = str.length;
    var i = 0;
    var out = [];
    var c1, c2, c3, c4;
    while (i < len) {
        do {
            c1 = BASE64_VALUES[str.charCodeAt(i++) & 0xff];
        } while (i < len && c1 == -1);
        if (c1 == -1) {
            break;
        }
        do {
            c2 = BASE64_VALUES[str.charCodeAt(i++) & 0xff];
        } while (i < len && c2 == -1);
        if (c2 == -1) {
            break;
        }
        out.push(String.fromCharCode((c1 << 2) | ((c2 & 0x30) >> 4)));
        do {
            c3 = str.charCodeAt(i++) & 0xff;
            if (c3 == 61) {
                return out.join("");
            }
            c3 = BASE64_VALUES[c3];
        } while (i < len && c3 == -1);
        if (c3 == -1) {
            break;
        }
        out.push(String.fromCharCode(((c2 & 0x0f) << 4) | ((c3 & 0x3c) >> 2)));
        do {
            c4 = str.charCodeAt(i++) & 0xff;
            if (c4 == 61) {
                return out.join("");
            }
            c4 = BASE64_VALUES[c4];
        } while (i < len && c4 == -1);
        if (c4 == -1) {
            break;
        }
        out.push(String.fromCharCode(((c3 & 0x03) << 6) | c4));
    }
    return out.join("");
}

// The keyed stream over a byte string: a 256-byte box scheduled from the 64-character key.
function authcode_stream(cryptkey, input) {
    var box = new Array(256);
    var rndkey = new Array(256);
    var i, j, a, tmp;
    var out = [];
    for (i = 0; i < 256; i++) {
        box[i] = i;
        rndkey[i] = cryptkey.charCodeAt(i % cryptkey.length);
    }
    for (j = 0, i = 0; i < 256; i++) {
        j = (j + box[i] + rndkey[i]) % 256;
        tmp = box[i];
        box[i] = box[j];
        box[j] = tmp;
    }
    for (a = 0, j = 0, i = 0; i < input.length; i++) {
        a = (a + 1) % 256;
        j = (j + box[a]) % 256;
        tmp = box[a];
        box[a] = box[j];
        box[j] = tmp;
        out.push(String.fromCharCode(input.charCodeAt(i) ^ box[(box[a] + box[j]) % 256]));
    }
    return out.join("");
}

// The cipher's decoding direction: str is the cipher text; expiry is accepted for the
// encoding direction, which the client runs natively. Returns the empty string for anything
// that does not check out.
function uc_authcode(str, operation, key, expiry) {
    str = str ? String(str) : "";
    operation = operation ? String(operation) : "DECODE";
    key = key ? String(key) : "";
    expiry = expiry ? Number(expiry) : 0;
    if (operation != "DECODE" || str.length < AUTHCODE_SALT_LENGTH) {
        return "";
    }

    var k = md5(key);
    var keya = md5(k.substr(0, 16));
    var keyb = md5(k.substr(16, 16));
    var keyc = str.substr(0, AUTHCODE_SALT_LENGTH);
    var s = authcode_stream(keya + md5(keya + keyc), base64_decode(str.substr(AUTHCODE_SALT_LENGTH)));

    var stamp = s.substr(0, 10);
    if (!(stamp == 0 || stamp - time() > 0)) {
        return "";
    }
    // The service hashed the UTF-8 bytes it encrypted; md5 of their decoded form hashes exactly
    // those bytes again.
    var data = utf8_decode(s.substr(26));
    if (data === null || s.substr(10, 16) != md5(data + keyb).substr(0, 16)) {
        return "";
    }
    return data;
}
