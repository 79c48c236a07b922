"""Renders the recognition set into a folder: NAME.png plus NAME.gt holding the true text
(empty for pictures without text). Needs pango-view and the vips command."""
import os
import random
import subprocess
import sys

FONTS = ["NanumGothic", "NanumMyeongjo", "UnDotum", "Noto Sans CJK KR"]
LINES = [
    "오늘 회의는 오후 세 시에 시작합니다",
    "파일을 저장하려면 확인을 누르세요",
    "Tavrino 설정 화면에서 언어를 바꿀 수 있습니다",
    "2026년 12월 7일 월요일 보고서",
    "한국어와 English가 섞인 문장입니다",
    "다음 단계로 넘어가기 전에 내용을 확인하세요",
]


def render(path, text, font, px, dark=False):
    argv = ["pango-view", "-q", "--dpi=72", "--margin=14", f"--font={font} {px}",
            f"--text={text}", "-o", path]
    if dark:
        argv += ["--background=#202124", "--foreground=#e8eaed"]
    subprocess.run(argv, check=True)


def main(folder):
    rng = random.Random(7)
    cases = []
    for i, font in enumerate(FONTS):
        for px in (11, 14, 18, 28):
            text = "\n".join(rng.sample(LINES, 2))
            cases.append((f"text-{i}-{px}", text, font, px, False))
    for i, px in enumerate((11, 12, 13)):
        cases.append((f"ui-dark-{i}", rng.choice(LINES), FONTS[i], px, True))
        cases.append((f"ui-small-{i}", rng.choice(LINES), FONTS[i + 1], px, False))
    for name, text, font, px, dark in cases:
        path = os.path.join(folder, name + ".png")
        render(path, text, font, px, dark)
        with open(os.path.join(folder, name + ".gt"), "w", encoding="utf-8") as out:
            out.write(text)
    for i, angle in enumerate((1.5, -2.5, 3.0)):
        text = "\n".join(rng.sample(LINES, 3))
        flat = os.path.join(folder, f"flat-{i}.png")
        render(flat, text, FONTS[i], 24)
        turned = os.path.join(folder, f"turned-{i}.png")
        subprocess.run(["vips", "similarity", flat, turned, "--angle", str(angle),
                        "--background", "255"], check=True)
        blurred = os.path.join(folder, f"blurred-{i}.png")
        subprocess.run(["vips", "gaussblur", turned, blurred, "0.8"], check=True)
        subprocess.run(["vips", "copy", blurred, os.path.join(folder, f"photo-{i}.jpg[Q=55]")],
                       check=True)
        for leftover in (flat, turned, blurred):
            os.remove(leftover)
        with open(os.path.join(folder, f"photo-{i}.gt"), "w", encoding="utf-8") as out:
            out.write(text)
    for i in range(3):
        path = os.path.join(folder, f"notext-{i}.png")
        subprocess.run(["vips", "perlin" if i else "gaussnoise", path, "400", "300"] +
                       ([] if i else ["--sigma", "40", "--mean", "128"]), check=True)
        open(os.path.join(folder, f"notext-{i}.gt"), "w").close()


if __name__ == "__main__":
    main(sys.argv[1])
