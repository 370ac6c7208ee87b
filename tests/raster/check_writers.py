"""Runs writer_dump over each writer's input domain and compares every resulting pixel with the
model. Usage: check_writers.py PATH_TO_writer_dump plain|sabyte|sacolour|hsv|hsvsource"""

import subprocess
import sys

import numpy as np

import pixmodel as m

I = np.int32
WEIGHTS = np.array(list(range(257)) + [-16384, -256, -1, 257, 300, 512, 1024, 16384], dtype=I)


def run(dump, *args):
    out = subprocess.run([dump, *args], check=True, stdout=subprocess.PIPE).stdout
    return np.frombuffer(out, dtype=np.uint8).reshape(-1, 4).astype(I)


CHUNK = 1 << 21


def compare(label, got, px, inputs, model):
    """Evaluates model(px, **inputs) chunk by chunk and compares it with the dumped pixels."""
    n = len(px)
    assert len(got) == n, f"{label}: dump has {len(got)} pixels, domain {n}"
    bad = []
    for lo in range(0, n, CHUNK):
        sl = slice(lo, lo + CHUNK)
        part = {k: np.asarray(v[sl] if np.size(v) == n else v).astype(I)
                for k, v in inputs.items()}
        want = model(px[sl].astype(I), **part)
        bad_here = np.nonzero(np.any(got[sl] != want, axis=1))[0]
        if len(bad_here):
            bad = list(bad_here + lo)
            first_want = want[bad_here[0]]
            break
    if not bad:
        print(f"ok   {label}: {len(got)} pixels")
        return True
    i = bad[0]
    detail = ", ".join(f"{k}={int(np.asarray(v).reshape(-1)[i] if np.size(v) > 1 else v)}"
                       for k, v in inputs.items())
    print(f"FAIL {label}: pixels differ; first at {detail}: "
          f"got {got[i].tolist()} want {first_want.tolist()}")
    return False


def hash32(i):
    i = i.astype(np.int64)
    h = (i * 2654435761) & 0xFFFFFFFF
    return (h ^ (h >> 16)).astype(np.int64)


def plain_domain():
    w, s, j = np.meshgrid(WEIGHTS, np.arange(256, dtype=I), np.arange(64, dtype=I), indexing="ij")
    w, s, j = w.ravel(), s.ravel(), j.ravel()
    px = np.stack([4 * j, 4 * j + 1, 4 * j + 2, 4 * j + 3], axis=1)
    return px, dict(r=s ^ 0x55, g=255 - s, b=(s + 85) & 255, a=s, w=w)


def sabyte_domain(name):
    # The full-weight source-alpha copy takes no weight: one weight covers it.
    weights = np.array([256], dtype=I) if name == "copy" else WEIGHTS
    w, sa, x = np.meshgrid(weights, np.arange(256, dtype=I), np.arange(256, dtype=I),
                           indexing="ij")
    w, sa, x = w.ravel(), sa.ravel(), x.ravel()
    px = np.stack([x, x ^ 0xA5, 255 - x, (x * 7 + sa) & 255], axis=1)
    return px, dict(r=(x * 3 + w) & 255, g=sa ^ 0x3C, b=(x + sa) & 255, sa=sa, w=w)


def sacolour_domain(name):
    e, s, j = np.meshgrid(np.arange(257, dtype=I), np.arange(256, dtype=I),
                          np.arange(86, dtype=I), indexing="ij")
    e, s, j = e.ravel(), s.ravel(), j.ravel()
    sa = np.where(e <= 1, 1, e - 1)
    w = np.where(e == 0, 1, np.where(e == 1, 128, 256))
    px = np.stack([j, 3 * j, np.minimum(3 * j + 1, 255), np.minimum(3 * j + 2, 255)], axis=1)
    return px, dict(r=s, g=s ^ 0x55, b=255 - s, sa=sa, w=w)


def hsv_dest_domain():
    c = np.arange(1 << 24, dtype=I)
    h = hash32(c)
    px = np.stack([h >> 24, c & 255, (c >> 8) & 255, c >> 16], axis=1)
    w = WEIGHTS[(h >> 4) % len(WEIGHTS)]
    return px, dict(r=h & 255, g=(h >> 8) & 255, b=(h >> 16) & 255, a=h >> 24, w=w)


def main():
    dump, group = sys.argv[1], sys.argv[2]
    ok = {"plain": plain_group, "sabyte": sabyte_group, "sacolour": sacolour_group,
          "hsv": hsv_group, "hsvsource": hsv_source_group}[group](dump)
    sys.exit(0 if ok else 1)


def plain_group(dump):
    ok = True
    for name in ("copy", "blend", "add", "dodge", "multiply", "overlay", "blendclamped",
                 "multiplyclamped"):
        px, k = plain_domain()
        model = lambda px, r, g, b, a, w, name=name: m.plain(name, px, r, g, b, a, w)
        ok &= compare(f"plain {name}", run(dump, "plain", name), px, k, model)
    return ok


def source_alpha_group(dump, label, domain):
    ok = True
    for name in ("copy", "blend", "add", "dodge", "multiply", "overlay"):
        model = lambda px, r, g, b, sa, w, name=name: m.source_alpha(name, px, r, g, b, sa, w)
        px, k = domain(name)
        ok &= compare(f"{label} {name}", run(dump, label, name), px, k, model)
    return ok


def sabyte_group(dump):
    return source_alpha_group(dump, "sabyte", sabyte_domain)


def sacolour_group(dump):
    return source_alpha_group(dump, "sacolour", sacolour_domain)


def hsv_group(dump):
    ok = True

    c = np.arange(1 << 24, dtype=I)
    px = np.stack([(c * 13) & 255, c & 255, (c >> 8) & 255, c >> 16], axis=1)
    ok &= compare("hsv neutral", run(dump, "hsv", "neutral"), px, dict(a=c & 255),
                  lambda px, a: m.hsv(px, 128, 128, 128, a, 256))

    px, k = hsv_dest_domain()
    ok &= compare("hsv dest", run(dump, "hsv", "dest"), px, k, m.hsv)
    return ok


def hsv_source_group(dump):
    ok = True
    c = np.arange(1 << 24, dtype=I)
    px, k = hsv_dest_domain()
    ok &= compare("hsv sourcealpha", run(dump, "hsv", "sourcealpha"), px, k,
                  lambda px, r, g, b, a, w: m.source_alpha("hsv", px, r, g, b, a, w))

    h = hash32(c)
    px = np.stack([h >> 24, h & 255, (h >> 8) & 255, (h >> 16) & 255], axis=1)
    k = dict(r=c & 255, g=(c >> 8) & 255, b=c >> 16, a=(h >> 3) & 255,
             w=WEIGHTS[(h >> 4) % len(WEIGHTS)])
    ok &= compare("hsv source", run(dump, "hsv", "source"), px, k, m.hsv)
    return ok


if __name__ == "__main__":
    main()
