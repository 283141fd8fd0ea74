#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzz targets next to this script.

curve_file: good files and the malformed kinds a loader must refuse or draw
safely; settings_layout: fresh configuration files (scrambled as the program
writes them) with damaged fields; file_names: edit-field text, a zero byte,
then the extension; stats_partial: partials of voxacurve stats, sound and
forged.
then the extension; stats_csv: statistics CSVs that render --band reads;
file_list: lists of voxacurve --files-from, a first byte asking for -0.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data, folder=HERE):
    os.makedirs(os.path.join(folder, target), exist_ok=True)
    with open(os.path.join(folder, target, name), "wb") as f:
        f.write(data)


def curve(level=1.0, rate=48000, n=64, upper=20000.0, lower=20.0, values=None):
    if values is None:
        values = [10000.0] * (n // 2 if n > 0 else 0)
    head = struct.pack("<fiiff", level, rate, n, upper, lower)
    return head + struct.pack("<%df" % len(values), *values)


def curve_seeds():
    write("curve_file", "good_64", curve())
    write("curve_file", "good_65536", curve(n=65536))
    write("curve_file", "truncated_header", curve()[:11])
    write("curve_file", "truncated_values", curve()[:-1])
    write("curve_file", "n_zero", curve(n=0))
    write("curve_file", "n_negative", curve(n=-64, values=[]))
    write("curve_file", "n_odd", curve(n=63, values=[1.0] * 32))
    write("curve_file", "n_65538", curve(n=65538, values=[1.0] * 4))
    write("curve_file", "rate_zero", curve(rate=0))
    write("curve_file", "lower_above_upper", curve(upper=100.0, lower=10000.0))
    write("curve_file", "band_beyond_nyquist", curve(upper=3.0e38, lower=-5.0))
    write("curve_file", "level_nan", curve(level=math.nan))
    write("curve_file", "level_inf", curve(level=math.inf))
    for name, v in [("zero", 0.0), ("negative", -1.0), ("nan", math.nan),
                    ("inf", math.inf), ("denormal", 1.0e-45)]:
        write("curve_file", "value_" + name, curve(values=[v] * 32))


def scramble(record):
    words = list(struct.unpack("<3404H", record))
    state = 2719
    for i, w in enumerate(words):
        state = (state * 134775813 + 1) % 2**32
        words[i] = (w + (state * 700 >> 32)) % 65536
    return struct.pack("<3404H", *words)


def fresh(changes=None):
    r = bytearray(6808)
    fields = {
        4: ("<I", 0x808080), 8: ("<I", 0x00FFFF), 12: ("<I", 0x8000000F),
        16: ("<I", 0x0000FF), 24: ("<I", 0x00FF00), 28: ("<I", 0x8000000F),
        54: ("<h", 640), 56: ("<h", 450), 4240: ("<i", 40), 4244: ("<i", 50),
        4284: ("<i", 60), 4288: ("<i", 100), 4320: ("<f", 150.0),
        4324: ("<f", 2.83), 4475: ("<B", 1),
    }
    fields.update(changes or {})
    for offset, (fmt, value) in fields.items():
        struct.pack_into(fmt, r, offset, value)
    r[4213:4223] = b"\x09dBSPL/W/m"
    return r


def settings_seeds():
    write("settings_layout", "fresh", scramble(bytes(fresh())))
    write("settings_layout", "short_6807", scramble(bytes(fresh()))[:-1])
    write("settings_layout", "tiny_window", scramble(bytes(fresh({54: ("<h", -32768), 56: ("<h", 1)}))))
    write("settings_layout", "huge_window", scramble(bytes(fresh({54: ("<h", 32767), 56: ("<h", 32767)}))))
    write("settings_layout", "zero_impedance_step", scramble(bytes(fresh({4244: ("<i", 0)}))))
    write("settings_layout", "extreme_impedance_scale", scramble(bytes(fresh({
        4244: ("<i", -2**31), 4248: ("<i", 2**31 - 1)}))))
    write("settings_layout", "nan_resistor", scramble(bytes(fresh({4320: ("<f", math.nan)}))))
    # Found faults: start-up aborts on these (kept as regressions).
    regressions = os.path.join(HERE, "..", "regressions")
    write("settings_layout", "startup_level_range_0",
          scramble(bytes(fresh({4284: ("<i", 0)}))), regressions)
    write("settings_layout", "startup_reference_voltage_negative",
          scramble(bytes(fresh({4324: ("<f", -1.0)}))), regressions)
    write("settings_layout", "startup_level_top_max",
          scramble(bytes(fresh({4284: ("<i", 5), 4288: ("<i", 2**31 - 1)}))), regressions)
    write("settings_layout", "startup_reference_voltage_3e38",
          scramble(bytes(fresh({4324: ("<f", 3.0e38)}))), regressions)
    long_texts = fresh()
    for offset in (91, 347, 859, 1115, 1896, 3176, 4200, 4213):
        long_texts[offset] = 255
    write("settings_layout", "long_texts", scramble(bytes(long_texts)) + b"tail")


def file_name_seeds():
    for name, data in [
        ("room", b"ROOM\0EA"), ("mask", b"*.EA\0EA"), ("points", b"a.b.c\0OHM"),
        ("directory", b"[curves]\0AA"), ("program", b"/usr/lib/voxa/voxa32vw\0"),
        ("stars", b"*?*?**x*\0*?*"), ("long", b"N" * 300 + b"\0" + b"E" * 300),
        ("size", b"\xff\xff\xff\xff\xff\xff\xff\xff\0\xe2\x80\xaf"),
    ]:
        write("file_names", name, data)


def box_text_seeds():
    for name, data in [
        ("listing", b"EA\0speaker\0SPEAKER.EA\0room.ea\0aaa.v2.EA\0.hidden.EA\0notes.txt"),
        ("case", b"OHM\0b70\0B70.ohm\0b70.OHM"),
        ("utf8", "EA\0Größe ä\0Größe ä.EA\0Messung ü.ea".encode()),
        ("long", b"EA\0" + "ä".encode() * 200 + b"\0" + b"x" * 250 + b".EA"),
        ("box_lines", b"Error\0Error reading /tmp/" + b"n" * 400 + b"\0ok"),
    ]:
        write("box_texts", name, data)


def curve_text_seeds():
    """The first byte chooses the columns (0 the text's own, 1 "2,1", 2
    "freq,db", 3 "1,3"); then an FRD, ZMA or CSV dialect."""
    for name, choice, text in [
        ("frd", 0, b"* FRD of a tweeter\n20 80.5 0\n1000 -3.25 12\n20000 70 -45\n"),
        ("zma", 0, b"* ZMA\n10\t6.5\t0\n100\t32.1\t45\n1000\t8.2\t-10\n"),
        ("csv_header", 0, b"Frequency (Hz),Magnitude (dB),Phase (deg)\n20,80,0\n1000,85,0\n"),
        ("named_columns", 0, b"error,frequency,raw\n0.1,20,80\n0.2,1000,85\n"),
        ("blank_units", 0, b"Phase (deg)  Frequency (Hz)  SPL (dB)\n0 20 80\n9 1000 -3.5\n"),
        ("semicolon_comma", 0, b"Frequenz;Pegel\n20,5;80,25\n1000;-3,5\n"),
        ("rew_decimal_comma", 0, b"# REW\n20,5 80,25 0\n1000 -3,5 0\n"),
        ("crlf_bom", 0, b"\xef\xbb\xbf* x\r\n20 80\r\n1000 70\r\n"),
        ("cr_only", 0, b"Freq\tSPL\r20 80\r1000 70\r"),
        ("utf16le", 0, "Freq\tSPL\r\n20\t80\r\n1000\t70\r\n".encode("utf-16")),
        ("utf16be", 0, b"\xfe\xff" + "F\u00e4 \U0001F50A\n20 80\n1000 70\n".encode("utf-16-be")),
        ("utf16_odd", 0, b"\xff\xfe1\x002"),
        ("zero_hz", 0, b"0 80\n10 81\n20 82\n"),
        ("columns_numbers", 1, b"80 20\n70 1000\n"),
        ("columns_names", 2, b"Freq,x,dB\n20,0,80\n1000,0,70\n"),
        ("columns_missing", 3, b"20 80\n1000 70\n"),
        ("falling", 0, b"20 80\n10 81\n"),
        ("huge", 0, b"1e300 1e300\n1.7e308 -1e308\n"),
    ]:
        write("curve_text", name, bytes([choice]) + text)


def fnv1a(data):
    h = 14695981039346656037
    for b in data:
        h = ((h ^ b) * 1099511628211) % 2**64
    return h


def partial(kind=0, per_octave=3, resistor=150.0, run=1, refused=0, first=0, columns=(),
            identities=None, smoothing=0):
    """A partial of voxacurve stats, format 3, with its checksum."""
    curves = max((len(c) for c in columns), default=0)
    if identities is None:
        identities = list(range(1, curves + 1))
    body = b"VOXASTAT" + struct.pack("<IIIfIQQQqQ", 3, kind, per_octave, resistor, smoothing,
                                     run, len(identities), refused, first, len(columns))
    for column in columns:
        body += struct.pack("<I%df" % len(column), len(column), *column)
    body += b"".join(struct.pack("<Q", i) for i in sorted(identities))
    return body + struct.pack("<Q", fnv1a(body))


def partial_seeds():
    """The first byte: odd, the target seals the checksum; then the partial."""
    for name, sealed, data in [
        ("one_curve", 1, partial(columns=[[60.0], [61.5], [62.0]])),
        ("two_curves", 1, partial(columns=[[60.0, 70.0], [61.0, 71.0], [80.0]], first=-2)),
        ("apart", 1, partial(per_octave=1, columns=[[60.0], [], [], [70.0]], first=-5)),
        ("impedance", 1, partial(kind=1, resistor=1000.0, columns=[[6.5, 8.0], [12.0, 9.5]])),
        ("refused_only", 1, partial(refused=3)),
        ("smoothed", 1, partial(smoothing=3, columns=[[60.0], [61.0]])),
        ("unsealed", 0, partial(columns=[[60.0]])),
        ("far_grid", 1, partial(first=100000000, columns=[[60.0]])),
        ("version_2", 1, b"VOXASTAT" + struct.pack("<I", 2) + bytes(64)),
    ]:
        write("stats_partial", name, bytes([sealed]) + data)
def limit_text_seeds():
    """The first byte chooses the extension (0 frd, 1 zma, 2 csv, 3 txt);
    then a limit text: good ones of both kinds, and values no measurement
    holds."""
    for name, choice, text in [
        ("frd_upper", 0, b"* upper\n20 75\n1000 78\n20000 75\n"),
        ("frd_many", 0, b"".join(b"%g %g\n" % (20 * 1.2 ** i, 70 + 5 * math.sin(i))
                                 for i in range(40))),
        ("zma_lower", 1, b"* ZMA\n10\t6.5\t0\n100\t32.1\t45\n1000\t8.2\t-10\n"),
        ("csv_impedance", 2, b"Frequency (Hz),Impedance (Ohm),Phase (deg)\n20,8,0\n20000,12,0\n"),
        ("csv_response", 2, b"Frequency (Hz),Magnitude (dB)\n20,65\n20000,65\n"),
        ("txt_ohm", 3, b"Freq Ohms\n20 6\n200 40\n2000 7\n"),
        ("zero_hz", 0, b"0 80\n10 81\n20 82\n"),
        ("level_1e308", 0, b"20 70\n1000 1e308\n20000 70\n"),
        ("level_minus_1001", 0, b"20 70\n1000 -1001\n"),
        ("ohm_2e9", 1, b"20 8\n1000 2e9\n"),
        ("ohm_tiny", 1, b"20 8\n1000 1e-12\n"),
        ("frequency_2e9", 0, b"20 70\n2e9 70\n"),
        ("negative_ohm", 1, b"20 8\n1000 -3\n"),
    ]:
        write("limit_text", name, bytes([choice]) + text)
def stats_csv_seeds():
    """Statistics CSVs as stats writes them (with and without a standard
    deviation, percentiles in any order, impedance) and damaged ones."""
    db = "Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P5 (dB),P50 (dB),P95 (dB),Count\n"
    rows = "".join("%.9g,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%d\n"
                   % (1000 * 2 ** (k / 3), 70 + k / 10, 60 + k / 10, 80 + k / 10,
                      61 + k / 10, 70 + k / 10, 79 + k / 10, 3)
                   for k in range(-30, 31, 6))
    for name, text in [
        ("stats", db + rows),
        ("with_std", "Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),P50 (dB),"
                     "P10 (dB),P90 (dB),Count\n100,70,4.2,60,80,71,62,78,5\n200,71,4,61,81,72,"
                     "63,79,5\n"),
        ("impedance", "Frequency (Hz),Mean (Ohm),Minimum (Ohm),Maximum (Ohm),P50 (Ohm),Count\n"
                      "20,6.5,6.1,7.2,6.4,2\n1000,12.25,9,40,11,2\n"),
        ("comments_crlf", "* Statistics by voxacurve\r\n" + db.replace("\n", "\r\n")
         + "20,1,0,2,0.5,1,1.5,1\r\n30,1,0,2,0.5,1,1.5,1\r\n"),
        ("columns_moved", "Count,P95 (dB),Maximum (dB),Frequency (Hz),Minimum (dB),Mean (dB)\n"
                          "2,79,80,100,60,70\n2,79,80,200,60,70\n"),
        ("huge", db + "100,1e308,-1e308,1e308,0,0,0,1\n200,0,-1e308,1e308,0,0,0,1\n"),
        ("min_above_max", db + "100,70,80,60,70,70,70,1\n200,70,60,80,70,70,70,1\n"),
        ("percentile_500", "Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P500 (dB),Count\n"),
        ("count_banana", db + "100,70,60,80,61,70,79,banana\n200,70,60,80,61,70,79,2\n"),
        ("zero_hz", db + "0,70,60,80,61,70,79,1\n200,70,60,80,61,70,79,2\n"),
        ("plain_csv", "Frequency (Hz),Magnitude (dB),Phase (deg)\n20,80,0\n1000,85,0\n"),
    ]:
        write("stats_csv", name, text.encode())
def file_list_seeds():
    """The first byte's lowest bit asks for a NUL-separated list (-0); then
    lists with every line end, byte order marks, empty names and NUL bytes."""
    for name, nul, text in [
        ("lf", 0, b"a.frd\nmeasurements/b.zma\n"),
        ("crlf", 0, b"a.frd\r\nb c.frd\r\n\r\nlast.frd"),
        ("cr", 0, b"a.frd\rb.frd\r\r"),
        ("cr_inside_lf", 0, b"odd\rname.frd\nend\r\r\n"),
        ("utf8_mark", 0, b"\xef\xbb\xbfa.frd\nb.frd\n"),
        ("two_marks", 0, b"\xef\xbb\xbf\xef\xbb\xbfa.frd\n"),
        ("utf16le", 0, "a.frd\nb.frd\n".encode("utf-16")),
        ("utf16be", 0, b"\xfe\xff\x00a\x00\n"),
        ("nul_in_lines", 0, b"a.frd\x00b.frd\n"),
        ("nul", 1, b"a.frd\x00with\nline end.frd\x00\x00c.frd"),
        ("nul_marked", 1, b"\xef\xbb\xbf\x00a.frd\x00"),
        ("nul_utf16", 1, b"\xff\xfea\x00"),
        ("empty", 0, b""),
        ("only_ends", 0, b"\r\n\n\r\n"),
        ("utf8_names", 0, "Mess\u00fcng \u00e4.frd\n\u6e2c\u5b9a.zma\n".encode()),
    ]:
        write("file_list", name, bytes([nul]) + text)


curve_seeds()
settings_seeds()
file_name_seeds()
box_text_seeds()
curve_text_seeds()
partial_seeds()
limit_text_seeds()
stats_csv_seeds()
file_list_seeds()
