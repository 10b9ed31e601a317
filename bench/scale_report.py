#!/usr/bin/python3
"""Turns the per-command scale runs of bench/run.sh (--quick, --full) into
markdown.

    scale_report.py META.tsv SCALE.tsv

SCALE.tsv has one row per (command, size):
    command, size label, corpus bytes, status, seconds, peak kB, note
The first size measured is the reference row; every larger size gets its
time per MB compared with the reference's.
"""

import sys
from collections import OrderedDict

MB = 1_000_000
GB_LIMIT_KB = 2 * 10**9 // 1024
PER_MB_LIMIT = 1.3


class Row:
    def __init__(self, fields):
        fields += [""] * (7 - len(fields))
        self.command, self.label, size, self.status, seconds, rss, self.note = fields[:7]
        self.bytes = int(size) if size else 0
        self.seconds = float(seconds) if seconds and self.status == "ok" else None
        self.rss_kb = int(rss) if rss and self.status == "ok" else None

    @property
    def ok(self):
        return self.seconds is not None and self.bytes > 0

    @property
    def per_mb(self):
        return self.seconds / (self.bytes / MB) if self.ok else None


def fmt_mem(kb):
    if kb is None:
        return ""
    mib = kb / 1024
    return f"{mib / 1024:.2f} GiB" if mib >= 1024 else f"{mib:.0f} MiB"


def fmt_s(s):
    return "" if s is None else f"{s:.2f} s"


def load(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def main(argv):
    meta = dict((r + [""])[:2] for r in load(argv[1]))
    rows = [Row(r) for r in load(argv[2])]
    by_command = OrderedDict()
    labels = []
    for row in rows:
        by_command.setdefault(row.command, {})[row.label] = row
        if row.label not in labels:
            labels.append(row.label)
    reference = labels[0] if labels else None

    out = []
    out.append(f"# PLIX per command ({meta.get('mode', '?')})")
    out.append("")
    dirty = meta.get("dirty", "0")
    out.append(f"commit {meta.get('commit', '?')}{' (with uncommitted changes)' if dirty not in ('', '0') else ''}, "
               f"{meta.get('cpu', '?')}, {meta.get('cores', '?')} cores, {meta.get('date', '')}; "
               "one run each, LC_ALL=C, the result text thrown away.")
    out.append("")
    header = "| command | corpus | time | peak memory | time per MB |"
    rule = "|---|---|---|---|---|"
    if len(labels) > 1:
        header += f" per MB / {reference} |"
        rule += "---|"
    out.append(header)
    out.append(rule)
    verdicts = []
    for command, sized in by_command.items():
        ref = sized.get(reference)
        for label in labels:
            row = sized.get(label)
            if row is None:
                continue
            if not row.ok:
                cells = [command, label, f"{row.status} {row.note}".strip(), "", ""]
            else:
                cells = [command, label, fmt_s(row.seconds), fmt_mem(row.rss_kb), f"{row.per_mb * 1000:.1f} ms"]
            if len(labels) > 1:
                ratio = ""
                if label != reference and row.ok and ref is not None and ref.ok and ref.per_mb > 0:
                    value = row.per_mb / ref.per_mb
                    ratio = f"{value:.2f}×"
                    verdicts.append((value <= PER_MB_LIMIT,
                                     f"{command}, {label}: time per MB {value:.2f}× that of {reference} "
                                     f"(target ≤ {PER_MB_LIMIT}×)"))
                cells.append(ratio)
            out.append("| " + " | ".join(cells) + " |")
            if label != reference:
                if row.ok:
                    verdicts.append((row.rss_kb < GB_LIMIT_KB,
                                     f"{command}, {label}: peak memory {fmt_mem(row.rss_kb)} (target < 2 GB)"))
                else:
                    verdicts.append((False, f"{command}, {label}: {row.status} {row.note}".strip()))

    def seconds(command):
        row = by_command.get(command, {}).get(reference)
        return row.seconds if row is not None and row.ok else None

    def against(command, base, limit):
        a, b = seconds(command), seconds(base)
        if a is None or b is None or b <= 0:
            return
        verdicts.append((a / b <= limit, f"{command}, {reference}: {a / b:.2f}× {base} (target ≤ {limit}×)"))

    if reference is not None:
        against("index", "wordlist", 2.5)
        against("collocation (the)", "wordlist", 2.5)
        against("concordance-left (the)", "concordance (the)", 2.0)
        against("concordance-right (the)", "concordance (the)", 2.0)
        every = seconds("concordance-all")
        if every is not None:
            verdicts.append((every < 8, f"concordance-all, {reference}: {every:.2f} s (target < 8 s)"))

    if verdicts:
        out.append("")
        if reference != "100M":
            out.append(f"The targets are stated for 100 MB and 1 GB; this run measured {', '.join(labels)}.")
            out.append("")
        for passed, text in verdicts:
            out.append(f"- {'PASS' if passed else 'MISS'}: {text}")
    print("\n".join(out))


if __name__ == "__main__":
    main(sys.argv)
