"""Renders the recognition set into a folder: NAME.EXT plus NAME.gt holding the true text
(empty for pictures without text). The kind of a picture is its name up to the first "-".
Needs pango-view, pdfunite and the vips command; every font comes from a Debian package
(fonts-nanum, fonts-unfonts-core, fonts-noto-cjk, fonts-baekmuk).

  text   two or three lines, one font per picture, 11 to 28 px
  ui     screenshot-like: small text, light on dark, two columns, a dark bar over a light body
  photo  photographed-like pages: grey paper, turned up to 3 degrees, blurred, noisy JPEG
  pdf    a ten-page PDF (one page left blank), read at twice its media box
  tiff   a three-frame TIFF
  notext pictures without text, down to an 8x8 gradient"""
import os
import random
import struct
import subprocess
import sys
import zlib

FONTS = ["NanumGothic", "NanumMyeongjo", "UnDotum", "Noto Sans CJK KR", "NanumBarunGothic",
         "UnBatang", "Noto Serif CJK KR", "Baekmuk Gulim"]
LINES = [
    "오늘 회의는 오후 세 시에 시작합니다",
    "파일을 저장하려면 확인을 누르세요",
    "Tavrino 설정 화면에서 언어를 바꿀 수 있습니다",
    "2026년 12월 7일 월요일 보고서",
    "한국어와 English가 섞인 문장입니다",
    "다음 단계로 넘어가기 전에 내용을 확인하세요",
    "서울특별시 강남구 테헤란로 152, 12층",
    "주문 번호 A-20431의 배송이 시작되었습니다",
    "비밀번호는 8자 이상이어야 합니다",
    "사진 3장과 문서 2개를 보냈습니다",
    "회원 가입을 환영합니다! 첫 구매 시 10% 할인",
    "이 메일은 발신 전용입니다. 문의는 고객센터로",
    "계약서 초안을 검토한 뒤 의견을 주십시오",
    "Wi-Fi 연결이 끊어졌습니다. 다시 시도하세요",
    "총 금액: 45,800원 (부가세 포함)",
    "새 버전 1.4.2가 준비되었습니다",
    "학생들은 도서관에서 조용히 공부하고 있었다",
    "봄이 오면 산과 들에 꽃이 핀다",
    "Open Settings and choose Privacy",
    "README.md 파일과 LICENSE를 함께 배포합니다",
]
UI_LINES = ["파일", "편집", "보기", "도움말", "설정 저장하기", "취소", "다운로드 완료",
            "알림 끄기", "내 문서", "최근 항목", "휴지통 비우기", "새 폴더 만들기",
            "Bluetooth 켜짐", "배터리 82%", "오후 3:45", "검색어를 입력하세요"]


def run(argv):
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)


def render(path, text, font, px, dark=False, margin=14):
    argv = ["pango-view", "-q", "--dpi=72", f"--margin={margin}", f"--font={font} {px}",
            f"--text={text}", "-o", path]
    if dark:
        argv += ["--background=#202124", "--foreground=#e8eaed"]
    run(argv)


def write_png(path, width, height, pixel):
    """An RGB PNG whose pixel (x, y) is pixel(x, y) -> (r, g, b)."""
    raw = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                   for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height,
                                                                     8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def truth(folder, name, text):
    with open(os.path.join(folder, name + ".gt"), "w", encoding="utf-8") as out:
        out.write(text)


def text_pictures(folder, rng, work):
    sizes = (11, 14, 18, 22, 28)
    for i, font in enumerate(FONTS):
        for px in rng.sample(sizes, 3):
            text = "\n".join(rng.sample(LINES, rng.choice((2, 3))))
            render(os.path.join(folder, f"text-{i}-{px}.png"), text, font, px)
            truth(folder, f"text-{i}-{px}", text)


def ui_pictures(folder, rng, work):
    for i, px in enumerate((11, 12, 13, 14)):
        text = "\n".join(rng.sample(UI_LINES, 3))
        render(os.path.join(folder, f"ui-dark-{i}.png"), text, FONTS[i], px, dark=True)
        truth(folder, f"ui-dark-{i}", text)
        text = rng.choice(LINES)
        render(os.path.join(folder, f"ui-small-{i}.png"), text, FONTS[i + 1], px)
        truth(folder, f"ui-small-{i}", text)
    # Two columns side by side: read the left one, then the right one.
    for i in range(3):
        left, right = rng.sample(LINES, 3), rng.sample(LINES, 3)
        font, px = FONTS[(i * 3) % len(FONTS)], (13, 16, 20)[i]
        a, b = os.path.join(work, "a.png"), os.path.join(work, "b.png")
        render(a, "\n".join(left), font, px)
        render(b, "\n".join(right), font, px)
        run(["vips", "join", a, b, os.path.join(folder, f"ui-columns-{i}.png"), "horizontal",
             "--shim", str(3 * px), "--background", "255", "--expand"])
        truth(folder, f"ui-columns-{i}", "\n".join(left + right))
    # A dark title bar over a light body, as in a settings window.
    for i in range(2):
        bar, body = rng.sample(UI_LINES, 2), rng.sample(LINES, 2)
        a, b = os.path.join(work, "a.png"), os.path.join(work, "b.png")
        render(a, "   ".join(bar), FONTS[i + 2], 13, dark=True, margin=8)
        render(b, "\n".join(body), FONTS[i + 2], 14)
        run(["vips", "join", a, b, os.path.join(folder, f"ui-window-{i}.png"), "vertical",
             "--background", "255", "--expand"])
        truth(folder, f"ui-window-{i}", "\n".join(bar + body))


def photo_pictures(folder, rng, work):
    for i, angle in enumerate((1.5, -2.5, 3.0, -1.0, 0.5, -3.0)):
        text = "\n".join(rng.sample(LINES, rng.choice((3, 4, 5))))
        flat = os.path.join(work, "flat.png")
        render(flat, text, FONTS[i % len(FONTS)], rng.choice((20, 24, 28)), margin=30)
        paper = os.path.join(work, "paper.v")
        # Ink is not black nor paper white in a photo.
        run(["vips", "linear", flat, paper, "0.7", "45", "--uchar"])
        turned = os.path.join(work, "turned.v")
        run(["vips", "similarity", paper, turned, "--angle", str(angle), "--background", "224"])
        blurred = os.path.join(work, "blurred.v")
        run(["vips", "gaussblur", turned, blurred, str(rng.choice((0.7, 1.0, 1.3)))])
        noise = os.path.join(work, "noise.v")
        run(["vips", "gaussnoise", noise, size(blurred)[0], size(blurred)[1],
             "--sigma", "6", "--mean", "0", "--seed", str(rng.randrange(1 << 30))])
        noisy = os.path.join(work, "noisy.v")
        run(["vips", "add", blurred, noise, noisy])
        run(["vips", "cast", noisy, os.path.join(work, "cast.v"), "uchar"])
        run(["vips", "copy", os.path.join(work, "cast.v"),
             os.path.join(folder, f"photo-{i}.jpg[Q={rng.choice((45, 55, 65))}]")])
        truth(folder, f"photo-{i}", text)


def size(image):
    out = subprocess.run(["vipsheader", "-f", "width", image], capture_output=True, text=True)
    width = out.stdout.strip()
    out = subprocess.run(["vipsheader", "-f", "height", image], capture_output=True, text=True)
    return width, out.stdout.strip()


def pdf_document(folder, rng, work):
    pages, texts = [], []
    for i in range(10):
        page = os.path.join(work, f"page{i}.pdf")
        if i == 4:
            text = ""  # a blank page between pages with text
            render(page, " ", FONTS[0], 14, margin=200)
        else:
            text = "\n".join(rng.sample(LINES, rng.choice((4, 6, 8))))
            render(page, text, FONTS[i % len(FONTS)], rng.choice((10, 11, 12, 14)), margin=50)
        pages.append(page)
        texts.append(text)
    run(["pdfunite", *pages, os.path.join(folder, "pdf-0.pdf")])
    truth(folder, "pdf-0", "\n\n".join(texts))


def tiff_document(folder, rng, work):
    frames, texts = [], []
    for i in range(3):
        text = "\n".join(rng.sample(LINES, 3))
        line = os.path.join(work, f"line{i}.png")
        render(line, text, FONTS[(i + 2) % len(FONTS)], 18)
        frame = os.path.join(work, f"frame{i}.png")
        run(["vips", "embed", line, frame, "0", "0", "700", "200", "--extend", "white"])
        frames.append(frame)
        texts.append(text)
    joined = os.path.join(work, "joined.v")
    run(["vips", "arrayjoin", " ".join(frames), joined, "--across", "1"])
    run(["vips", "tiffsave", joined, os.path.join(folder, "tiff-0.tif"), "--page-height", "200",
         "--compression", "deflate"])
    truth(folder, "tiff-0", "\n\n".join(texts))


def notext_pictures(folder, rng, work):
    def add(name, argv=None):
        if argv:
            run(argv)
        truth(folder, name, "")

    add("notext-noise", ["vips", "gaussnoise", os.path.join(folder, "notext-noise.png"), "400",
                         "300", "--sigma", "40", "--mean", "128", "--seed", "7"])
    add("notext-perlin", ["vips", "perlin", os.path.join(folder, "notext-perlin.png"), "400",
                          "300"])
    add("notext-worley", ["vips", "worley", os.path.join(folder, "notext-worley.png"), "400",
                          "300"])
    # The gradient of the test fixtures, at the size that was once read as two characters.
    for w, h in ((8, 8), (300, 200)):
        write_png(os.path.join(folder, f"notext-gradient{w}.png"), w, h,
                  lambda x, y, w=w, h=h: (x * 255 // w, y * 255 // h, 128))
        add(f"notext-gradient{w}")
    # Flat shapes like those of an icon or a chart, sharp edges but nothing to read.
    shapes = [(rng.randrange(300), rng.randrange(200), rng.randrange(20, 90),
               tuple(rng.randrange(256) for _ in range(3))) for _ in range(12)]

    def shaded(x, y):
        for cx, cy, r, colour in shapes:
            if (x - cx) ** 2 + (y - cy) ** 2 < r * r:
                return colour
        return (240, 240, 240)

    write_png(os.path.join(folder, "notext-shapes.png"), 300, 200, shaded)
    add("notext-shapes")


def main(folder):
    work = os.path.join(folder, ".work")
    os.makedirs(work, exist_ok=True)
    makers = {"text": text_pictures, "ui": ui_pictures, "photo": photo_pictures,
              "pdf": pdf_document, "tiff": tiff_document, "notext": notext_pictures}
    # One seed per kind, so that a subset renders the same pictures as the whole set.
    for kind in sys.argv[2:] or makers:
        makers[kind](folder, random.Random(kind), work)
    for leftover in os.listdir(work):
        os.remove(os.path.join(work, leftover))
    os.rmdir(work)


if __name__ == "__main__":
    main(sys.argv[1])
