"""Runs tavrino-cli and the tesseract command over a set made by make_set.py and prints
the character error rate (Levenshtein distance over the true length, white space removed)
per kind and overall, how many no-text pictures each refused, and the total times."""
import collections
import glob
import os
import subprocess
import sys
import time


def distance(a, b):
    row = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, cb in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (ca != cb))
    return row[-1]


def squeezed(text):
    return "".join(text.split())


def ours(cli, image):
    for old in glob.glob(os.path.splitext(image)[0] + " 글자*.txt"):
        os.remove(old)
    subprocess.run([cli, "run", "tool(extractText)", image], capture_output=True)
    written = glob.glob(os.path.splitext(image)[0] + " 글자*.txt")
    return open(written[0], encoding="utf-8").read() if written else ""


def peer(image):
    return subprocess.run(["tesseract", image, "-", "-l", "kor+eng"], capture_output=True,
                          text=True).stdout


def main(folder, cli):
    errors = {"ours": collections.Counter(), "tesseract": collections.Counter()}
    lengths = collections.Counter()
    refused = collections.Counter()
    seconds = collections.Counter()
    notext = 0
    for gt in sorted(glob.glob(os.path.join(folder, "*.gt"))):
        stem = gt[:-3]
        image = next(p for p in glob.glob(stem + ".*") if not p.endswith(".gt"))
        kind = os.path.basename(stem).split("-")[0]
        truth = squeezed(open(gt, encoding="utf-8").read())
        for side, read in (("ours", lambda: ours(cli, image)), ("tesseract", lambda: peer(image))):
            start = time.monotonic()
            got = squeezed(read())
            seconds[side] += time.monotonic() - start
            if not truth:
                refused[side] += not got
                continue
            errors[side][kind] += distance(truth, got)
        if truth:
            lengths[kind] += len(truth)
        else:
            notext += 1
    print(f"{'kind':10} {'ours CER':>9} {'tesseract CER':>14}")
    for kind in sorted(lengths):
        print(f"{kind:10} {100 * errors['ours'][kind] / lengths[kind]:8.2f}% "
              f"{100 * errors['tesseract'][kind] / lengths[kind]:13.2f}%")
    total = sum(lengths.values())
    o = sum(errors["ours"].values())
    t = sum(errors["tesseract"].values())
    print(f"{'overall':10} {100 * o / total:8.2f}% {100 * t / total:13.2f}%"
          f"   (errors ours/tesseract = {o / max(t, 1):.2f})")
    print(f"no-text pictures refused: ours {refused['ours']}/{notext}, "
          f"tesseract {refused['tesseract']}/{notext}")
    print(f"time: ours {seconds['ours']:.1f} s, tesseract {seconds['tesseract']:.1f} s, "
          f"ratio {seconds['ours'] / seconds['tesseract']:.2f}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
