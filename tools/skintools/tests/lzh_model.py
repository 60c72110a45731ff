#!/usr/bin/env python3
"""A separate model of the packed stream's code tree, kept apart from the C++ code on purpose.

It prints the digests that LzhEncoder_test.cpp compares against (packed bytes of fixed symbol sequences and
of their decoded output). Equal digests mean the two implementations gave every symbol the same code,
across tree rebuilds. Run: python3 lzh_model.py
"""
N, F, THRESHOLD = 4096, 60, 2
N_CHAR = 256 - THRESHOLD + F
T = 2 * N_CHAR - 1
R = T - 1
MAX_FREQ = 0x8000


def runs(pairs):
    out = []
    for value, count in pairs:
        out += [value] * count
    return out


D_CODE = runs([(0, 32)] + [(v, 16) for v in range(1, 4)] + [(v, 8) for v in range(4, 12)] +
              [(v, 4) for v in range(12, 24)] + [(v, 2) for v in range(24, 48)] + [(v, 1) for v in range(48, 64)])
D_LEN = runs([(3, 32), (4, 48), (5, 64), (6, 48), (7, 48), (8, 16)])


class Tree:
    def __init__(self):
        self.f, self.p, self.c = [0] * (T + 1), [0] * (T + N_CHAR), [0] * T
        for i in range(N_CHAR):
            self.f[i], self.c[i], self.p[i + T] = 1, i + T, i
        for j in range(N_CHAR, T):
            i = 2 * (j - N_CHAR)
            self.f[j], self.c[j] = self.f[i] + self.f[i + 1], i
            self.p[i] = self.p[i + 1] = j
        self.f[T], self.p[R] = 0xFFFF, 0

    def rebuild(self):
        f, c, p = self.f, self.c, self.p
        leaves = [((f[i] + 1) // 2, c[i]) for i in range(T) if c[i] >= T]
        for j, (freq, son) in enumerate(leaves):
            f[j], c[j] = freq, son
        for j in range(N_CHAR, T):
            i = 2 * (j - N_CHAR)
            total = f[i] + f[i + 1]
            k = j - 1
            while total < f[k]:
                k -= 1
            k += 1
            f[k + 1:j + 1], c[k + 1:j + 1] = f[k:j], c[k:j]
            f[k], c[k] = total, i
        for i in range(T):
            k = c[i]
            if k >= T:
                p[k] = i
            else:
                p[k] = p[k + 1] = i

    def update(self, sym):
        f, c, p = self.f, self.c, self.p
        if f[R] == MAX_FREQ:
            self.rebuild()
        n = p[sym + T]
        while True:  # the leaf itself may be node 0; the root's parent 0 ends the climb
            f[n] += 1
            k = f[n]
            if k > f[n + 1]:
                l = n + 1
                while f[l + 1] < k:
                    l += 1
                f[n], f[l] = f[l], k
                i, j = c[n], c[l]
                p[i] = l
                if i < T:
                    p[i + 1] = l
                p[j] = n
                if j < T:
                    p[j + 1] = n
                c[l], c[n] = i, j
                n = l
            n = p[n]
            if n == 0:
                return

    def code(self, sym):
        bits, n = [], self.p[sym + T]
        while True:
            bits.append(n & 1)
            n = self.p[n]
            if n == R:
                return bits[::-1]


def encode(symbols):
    """symbols: ('L', byte) or ('M', length, distance). Returns (packed bytes, longest code)."""
    tree, bits, longest = Tree(), [], 0
    for s in symbols:
        sym = s[1] if s[0] == 'L' else 255 - THRESHOLD + s[1]
        code = tree.code(sym)
        longest = max(longest, len(code))
        bits += code
        tree.update(sym)
        if s[0] == 'M':
            offset = s[2] - 1
            lead = D_CODE.index(offset >> 6)
            bits += [(lead >> (7 - k)) & 1 for k in range(D_LEN[lead])]
            bits += [(offset >> (5 - k)) & 1 for k in range(6)]
    bits += [0] * (-len(bits) % 8)
    return bytes(int(''.join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8)), longest


def decode(data, count):
    tree, ring, r = Tree(), bytearray(N + F - 1), N - F
    ring[:N - F] = b' ' * (N - F)
    state = {'pos': 0, 'buf': 0, 'cnt': 0}

    def take(width):
        while state['cnt'] <= 8:
            byte = data[state['pos']] if state['pos'] < len(data) else 0
            state['pos'] += 1
            state['buf'] |= byte << (8 - state['cnt'])
            state['cnt'] += 8
        value = state['buf'] >> (16 - width)
        state['buf'] = (state['buf'] << width) & 0xFFFF
        state['cnt'] -= width
        return value

    out = bytearray()
    while len(out) < count:
        n = tree.c[R]
        while n < T:
            n = tree.c[n + take(1)]
        c = n - T
        tree.update(c)
        if c < 256:
            out.append(c)
            ring[r], r = c, (r + 1) & (N - 1)
            continue
        b = take(8)
        high = D_CODE[b]
        for _ in range(D_LEN[b] - 2):
            b = (b << 1) + take(1)
        i = r - ((high << 6) | (b & 63)) - 1
        for k in range(c - 253):
            v = ring[(i + k) & (N - 1)]
            out.append(v)
            ring[r], r = v, (r + 1) & (N - 1)
    return bytes(out[:count])


def fnv(data):
    h = 0xcbf29ce484222325
    for x in data:
        h = ((h ^ x) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return h


def symbol_mix(count, x):
    """Mostly four frequent bytes, some other bytes, one match in five (same generator as the C++ test)."""
    symbols, produced = [], 0
    for _ in range(count):
        x = (x * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        v = x >> 33
        if v % 10 < 8:
            symbols.append(('L', (v >> 4) % 4 if (v >> 8) % 4 else (v >> 12) % 256))
            produced += 1
        else:
            length = 3 + (v >> 4) % 58
            symbols.append(('M', length, 1 + (v >> 12) % 4096))
            produced += length
    return symbols, produced


if __name__ == '__main__':
    print('A:', encode([('L', 65)])[0].hex(), ' A + 3 blanks:', encode([('L', 65), ('M', 3, 4)])[0].hex())
    for count, seed in ((3000, 777), (100000, 12345)):
        symbols, produced = symbol_mix(count, seed)
        packed, _ = encode(symbols)
        print(f'mix {count}/{seed}: {len(packed)} bytes {fnv(packed):#x}, '
              f'{produced} unpacked {fnv(decode(packed, produced)):#x}')
    fib = [1, 1, 2, 3, 5, 8, 13, 21, 34]
    symbols = [('L', k + 1) for k in range(9) for _ in range(320 * fib[k])] + [('L', 200)]
    packed, longest = encode(symbols)
    print(f'fibonacci: {len(packed)} bytes {fnv(packed):#x}, longest code {longest} bits')
