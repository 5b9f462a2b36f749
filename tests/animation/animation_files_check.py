#!/usr/bin/python3
"""Animations recorded by the real program, read back with the ecosystem's own tools (ffprobe and
ffmpeg, Pillow): each plays, has the size asked for and the right length, and its first and middle
frames are the pictures --render --ticks draws of the same moments."""
import io
import json
import math
import os
import subprocess
import sys
import tempfile

from PIL import Image

orbalin, scene = sys.argv[1], sys.argv[2]
SEED = "7"
# suffix, size asked, seconds, --fps, more options, least PSNR of a frame's lines (dB; None:
# exact). Video in 4:2:0 halves the colour of lines a pixel or two wide.
ROWS = [
    ("webm", (640, 480), 3, None, [], 20),
    ("mp4", (321, 240), 2, None, [], 20),  # H.264 in 4:2:0: rounded up to 322x240
    ("gif", (160, 120), 2, 20, [], 25),
    ("webp", (200, 150), 1.5, None, ["--background", "transparent"], None),
    ("webm", (320, 240), 1, 10, ["--stream"], 20),
]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def run(arguments, **kwargs):
    return subprocess.run([orbalin, "--render", scene, "--seed", SEED] + arguments,
                          capture_output=True, **kwargs)


def reference(size, ticks, transparent, folder):
    path = os.path.join(folder, f"ticks-{ticks}.png")
    extra = ["--background", "transparent"] if transparent else []
    done = run(["--output", path, "--ticks", str(ticks), "--size", f"{size[0]}x{size[1]}"] + extra)
    assert done.returncode == 0, done.stderr
    return Image.open(path).convert("RGBA" if transparent else "RGB")


def psnr(a, b):
    """Over the pixels lit in either picture: the black around the lines would hide any fault."""
    channels = len(a.getbands())
    x, y = a.tobytes(), b.tobytes()
    error = count = 0
    for at in range(0, len(x), channels):
        p, q = x[at:at + channels], y[at:at + channels]
        if any(p) or any(q):
            error += sum((c - d) ** 2 for c, d in zip(p, q))
            count += channels
    return math.inf if error == 0 else 10 * math.log10(255 ** 2 * count / error)


def video_frames(path, indices, size):
    """Frames k of a video, decoded by ffmpeg."""
    frames = []
    for k in indices:
        raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-vf", f"select=eq(n\\,{k})",
                              "-fps_mode", "passthrough", "-frames:v", "1", "-f", "rawvideo",
                              "-pix_fmt", "rgb24", "-"], capture_output=True, check=True).stdout
        frames.append(Image.frombytes("RGB", size, raw))
    return frames


with tempfile.TemporaryDirectory() as folder:
    for suffix, asked, seconds, fps, options, least in ROWS:
        stream = "--stream" in options
        options = [o for o in options if o != "--stream"]
        name = f"{suffix} {asked[0]}x{asked[1]} {seconds} s" + (" to a pipe" if stream else "")
        path = os.path.join(folder, f"clip.{suffix}")
        arguments = ["--output", "-" if stream else path, "--duration", str(seconds),
                     "--size", f"{asked[0]}x{asked[1]}"] + options
        if fps:
            arguments += ["--fps", str(fps)]
        if stream:
            arguments += ["--format", suffix]
        done = run(arguments)
        check(done.returncode == 0, f"{name}: status {done.returncode}: {done.stderr}")
        if stream:
            with open(path, "wb") as clip:
                clip.write(done.stdout)
        size = (asked[0] + asked[0] % 2, asked[1] + asked[1] % 2) if suffix == "mp4" else asked
        ticks = round(62.5 / fps) if fps else 2
        period = ticks * 0.016
        frames = None  # as many as the file has, when they last the time asked to within one
        transparent = "transparent" in options

        if suffix in ("webm", "mp4"):
            played = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "null", "-"],
                                    capture_output=True)
            check(played.returncode == 0 and not played.stderr, f"{name}: does not play: "
                  f"{played.stderr}")
            probe = json.loads(subprocess.run(
                ["ffprobe", "-v", "error", "-count_frames", "-show_entries",
                 "stream=width,height,nb_read_frames,r_frame_rate:format=duration", "-of", "json",
                 path], capture_output=True, check=True).stdout)
            video = probe["streams"][0]
            check((video["width"], video["height"]) == size, f"{name}: size {video}")
            frames = int(video["nb_read_frames"])
            rate = 125 / (2 * ticks)
            num, den = map(int, video["r_frame_rate"].split("/"))
            check(abs(num / den - rate) < 1e-9, f"{name}: frame rate {video['r_frame_rate']}")
            duration = float(probe["format"].get("duration", "nan"))
            check(abs(duration - frames * period) <= period,
                  f"{name}: lasts {duration} s, not {frames * period} s")
            decoded = video_frames(path, [0, frames // 2], size)
        else:
            image = Image.open(path)
            check(image.size == size, f"{name}: size {image.size}")
            frames = image.n_frames
            # Whole hundredths (GIF) or milliseconds (WebP) that never stray a unit from time.
            unit = 10 if suffix == "gif" else 1
            shown = 0
            for k in range(image.n_frames):
                image.seek(k)
                image.load()
                shown += image.info["duration"]
                exact = (k + 1) * period * 1000
                check(abs(shown - exact) < unit + 1e-6, f"{name}: {shown} ms by frame {k}, "
                      f"{exact} exact")
            decoded = []
            for k in (0, frames // 2):
                image.seek(k)
                decoded.append(image.convert("RGBA" if transparent else "RGB"))
        check(abs(frames * period - seconds) <= period, f"{name}: {frames} frames of {period} s")
        for k, frame in zip((0, frames // 2), decoded):
            want = reference(size, 1 + k * ticks, transparent, folder)
            quality = psnr(frame, want)
            print(f"{name}: frame {k} PSNR {quality:.1f} dB")
            if least is None:
                check(quality == math.inf, f"{name}: frame {k} differs from --render's")
            else:
                check(quality >= least, f"{name}: frame {k} PSNR {quality:.1f} dB < {least}")

sys.exit(1 if failures else 0)
