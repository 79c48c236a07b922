"""Runs tavrino-cli and the tesseract command over a set made by make_set.py and prints
the character error rate (Levenshtein distance over the true length, white space removed)
per kind and overall, how many no-text pictures each refused, and the times.

Pictures are timed by processor time with both sides held to one core (and Tesseract to
one thread), so that other load on the machine does not count; the
PDF is also timed as a user meets it, on every core: ours reads its pages in parallel, the
command reads the pages pdftoppm renders one after the other.

  score.py FOLDER CLI [-v] [NAME-PREFIX...]
-v prints each picture's errors and, for the pictures with errors, both readings. The
command's readings are kept in FOLDER/NAME.peer and reused while the folder is."""
import collections
import glob
import json
import os
import resource
import subprocess
import sys
import tempfile
import time

ONE_CORE = {**os.environ, "OMP_THREAD_LIMIT": "1"}


def distance(a, b):
    row = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, cb in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (ca != cb))
    return row[-1]


def squeezed(text):
    return "".join(text.split())


def one_core():
    os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(argv, pinned, **kwargs):
    """The result and the seconds spent: processor time when pinned to one core (other
    engineers' load on the machine does not count), wall time otherwise."""
    start, cpu = time.monotonic(), cpu_of_children()
    result = subprocess.run(argv, capture_output=True, text=True,
                            preexec_fn=one_core if pinned else None,
                            env=ONE_CORE if pinned else None, **kwargs)
    return result, (cpu_of_children() - cpu) if pinned else time.monotonic() - start


def ours(cli, image, pinned=True):
    for old in glob.glob(os.path.splitext(image)[0] + " 글자*.txt"):
        os.remove(old)
    result, seconds = timed([cli, "run", "tool(extractText)", image], pinned)
    written = glob.glob(os.path.splitext(image)[0] + " 글자*.txt")
    text = open(written[0], encoding="utf-8").read() if written else ""
    if not written and "글자를 찾지 못함" not in result.stdout + result.stderr:
        print(f"   {os.path.basename(image)}: {result.returncode} {result.stdout} {result.stderr}")
    for old in written:
        os.remove(old)
    return text, seconds


def peer(image, pinned=True):
    if not image.endswith(".pdf"):
        result, seconds = timed(["tesseract", image, "-", "-l", "kor+eng"], pinned)
        return result.stdout, seconds
    # The command does not read PDF: render the pages as we do (twice the media box), then
    # read them one by one.
    with tempfile.TemporaryDirectory() as work:
        _, seconds = timed(["pdftoppm", "-r", "144", "-png", image,
                            os.path.join(work, "page")], pinned)
        texts = []
        for page in sorted(glob.glob(os.path.join(work, "page*.png"))):
            result, page_seconds = timed(["tesseract", page, "-", "-l", "kor+eng"], pinned)
            texts.append(result.stdout)
            seconds += page_seconds
        return "\n".join(texts), seconds


def cached_peer(stem, image):
    cache = stem + ".peer"
    if os.path.exists(cache):
        with open(cache, encoding="utf-8") as source:
            kept = json.load(source)
        return kept["text"], kept["seconds"]
    text, seconds = peer(image)
    with open(cache, "w", encoding="utf-8") as out:
        json.dump({"text": text, "seconds": seconds}, out, ensure_ascii=False)
    return text, seconds


def pages_of(image):
    if image.endswith(".pdf"):
        out = subprocess.run(["pdfinfo", image], capture_output=True, text=True).stdout
        return int(next(line.split()[1] for line in out.splitlines()
                        if line.startswith("Pages:")))
    if image.endswith(".tif"):
        out = subprocess.run(["vipsheader", "-f", "n-pages", image], capture_output=True,
                             text=True).stdout.strip()
        return int(out or 1)
    return 1


def main(folder, cli, verbose, prefixes):
    errors = {"ours": collections.Counter(), "tesseract": collections.Counter()}
    lengths = collections.Counter()
    refused = collections.Counter()
    seconds = collections.Counter()
    notext = pages = 0
    pdfs = []
    for gt in sorted(glob.glob(os.path.join(folder, "*.gt"))):
        stem = gt[:-3]
        name = os.path.basename(stem)
        if prefixes and not any(name.startswith(p) for p in prefixes):
            continue
        image = next(stem + ext for ext in (".png", ".jpg", ".tif", ".pdf")
                     if os.path.exists(stem + ext))
        kind = name.split("-")[0]
        truth = squeezed(open(gt, encoding="utf-8").read())
        readings = {"ours": ours(cli, image), "tesseract": cached_peer(stem, image)}
        pages += pages_of(image)
        if image.endswith(".pdf"):
            pdfs.append(image)
        found = {}
        for side, (text, spent) in readings.items():
            seconds[side] += spent
            got = squeezed(text)
            found[side] = distance(truth, got) if truth else len(got)
            if not truth:
                refused[side] += not got
            else:
                errors[side][kind] += found[side]
        if truth:
            lengths[kind] += len(truth)
        else:
            notext += 1
        if verbose:
            print(f"{name:22} {len(truth):4} chars  ours {found['ours']:3}  "
                  f"tesseract {found['tesseract']:3}  ({readings['ours'][1]:.1f} s / "
                  f"{readings['tesseract'][1]:.1f} s)")
            if found["ours"]:
                print("   want:", truth)
                print("   ours:", squeezed(readings["ours"][0]))
    print(f"{'kind':10} {'ours CER':>9} {'tesseract CER':>14}")
    for kind in sorted(lengths):
        print(f"{kind:10} {100 * errors['ours'][kind] / lengths[kind]:8.2f}% "
              f"{100 * errors['tesseract'][kind] / lengths[kind]:13.2f}%")
    total = max(sum(lengths.values()), 1)
    o = sum(errors["ours"].values())
    t = sum(errors["tesseract"].values())
    print(f"{'overall':10} {100 * o / total:8.2f}% {100 * t / total:13.2f}%"
          f"   (errors ours/tesseract = {o / max(t, 1):.2f})")
    print(f"no-text pictures refused: ours {refused['ours']}/{notext}, "
          f"tesseract {refused['tesseract']}/{notext}")
    print(f"processor time on one core: ours {seconds['ours']:.1f} s, tesseract {seconds['tesseract']:.1f} s"
          f" for {pages} pages, ratio {seconds['ours'] / max(seconds['tesseract'], 1e-9):.2f}")
    for pdf in pdfs:
        _, mine = ours(cli, pdf, pinned=False)
        _, theirs = peer(pdf, pinned=False)
        print(f"{os.path.basename(pdf)} ({pages_of(pdf)} pages) on every core: ours {mine:.1f} s,"
              f" pdftoppm + tesseract page by page {theirs:.1f} s, ratio {mine / theirs:.2f}")


if __name__ == "__main__":
    args = sys.argv[3:]
    main(sys.argv[1], sys.argv[2], "-v" in args, [a for a in args if a != "-v"])
