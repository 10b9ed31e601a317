#!/usr/bin/python3
"""Turns the measurements of bench/run.sh into the markdown report.

    report.py META.tsv RAW.tsv [RARE_KEYWORD]

RAW.tsv has one row per (case, corpus, tool):
    case, corpus, tool, status, median_s, rss_kb, out_bytes, figures, runs, note
status is ok, n/a, timeout or error; figures holds key=value pairs read from
the output (hits, tokens, types, value).
"""

import re
import sys
from collections import OrderedDict

PLIX = "plix"
MB = 1_000_000


class Row:
    def __init__(self, fields):
        fields += [""] * (10 - len(fields))
        (self.case, self.corpus, self.tool, self.status, median, rss, out_bytes,
         figures, runs, self.note) = fields[:10]
        self.median = float(median) if median else None
        self.rss_kb = int(rss) if rss else None
        self.out_bytes = int(out_bytes) if out_bytes else None
        self.runs = int(runs) if runs else None
        self.figures = dict(kv.split("=", 1) for kv in figures.split() if "=" in kv)

    @property
    def ok(self):
        return self.status == "ok" and self.median is not None

    @property
    def rss_bytes(self):
        return self.rss_kb * 1024 if self.rss_kb is not None else None


def fmt_time(s):
    if s is None:
        return ""
    if s >= 100:
        return f"{s:.0f} s"
    if s >= 10:
        return f"{s:.1f} s"
    if s >= 0.1:
        return f"{s:.2f} s"
    return f"{s * 1000:.1f} ms"


def fmt_mem(kb):
    if kb is None:
        return ""
    mib = kb / 1024
    return f"{mib / 1024:.2f} GiB" if mib >= 1024 else f"{mib:.1f} MiB"


def fmt_bytes(n):
    if n >= 1e9:
        return f"{n / 1e9:.2f} GB"
    if n >= 1e6:
        return f"{n / 1e6:.1f} MB"
    if n >= 1e3:
        return f"{n / 1e3:.1f} kB"
    return f"{n} B"


def fmt_ratio(r):
    if r < 0.01:
        return f"{r:.3f}"
    if r < 10:
        return f"{r:.2f}"
    if r < 100:
        return f"{r:.1f}"
    return f"{r:.0f}"


def fmt_count(n):
    return f"{int(n):,}"


def fmt_rate(per_s):
    if per_s >= 1e6:
        return f"{per_s / 1e6:.2f} M"
    if per_s >= 1e3:
        return f"{per_s / 1e3:.1f} k"
    return f"{per_s:.0f} "


def notes(row):
    parts = []
    f = row.figures
    if "hits" in f:
        parts.append(f"{fmt_count(f['hits'])} hits")
        if row.tool == PLIX and row.ok and row.median > 0 and "frequent" in row.case:
            parts.append(f"{fmt_rate(int(f['hits']) / row.median)}hits/s")
    if "tokens" in f:
        parts.append(f"{fmt_count(f['tokens'])} tokens")
    if "types" in f:
        parts.append(f"{fmt_count(f['types'])} types")
    if "value" in f:
        parts.append(f"= {f['value']}")
    if row.ok and row.out_bytes is not None and "value" not in f:
        parts.append(f"output {fmt_bytes(row.out_bytes)}")
    if row.ok and row.runs == 1:
        parts.append("1 run (slow)")
    if row.note:
        parts.append(row.note)
    return "; ".join(parts).replace("|", "\\|")


def size_of(corpus):
    m = re.fullmatch(r"gen-([0-9.]+)([KMG])", corpus)
    if not m:
        return None
    return float(m.group(1)) * {"K": 1e3, "M": 1e6, "G": 1e9}[m.group(2)]


def main(argv):
    meta = {}
    with open(argv[1]) as f:
        for line in f:
            k, _, v = line.rstrip("\n").partition("\t")
            meta[k] = v
    rows = []
    with open(argv[2]) as f:
        for line in f:
            if line.strip():
                rows.append(Row(line.rstrip("\n").split("\t")))
    rare = argv[3] if len(argv) > 3 else ""

    groups = OrderedDict()
    for row in rows:
        groups.setdefault((row.case, row.corpus), []).append(row)

    def find(case_prefix, corpus, tool):
        for (case, c), members in groups.items():
            if c == corpus and (case == case_prefix or case.startswith(case_prefix + " ")):
                for r in members:
                    if r.tool == tool:
                        return r
        return None

    out = []
    out.append(f"## PLIX benchmark ({meta.get('mode', '?')})")
    out.append("")
    dirty = meta.get("dirty", "0")
    out.append(
        f"{meta.get('date', '')} · commit {meta.get('commit', '?')}"
        + (" (with uncommitted changes in src/)" if dirty not in ("", "0") else "")
        + f" · {meta.get('cpu', '?')}, {meta.get('cores', '?')} cores"
        + f" · median of {meta.get('runs', '?')} runs after one warm-up"
        + f" · limit {meta.get('timeout', '?')} s per run")
    if rare:
        out.append(f"Rare keyword of the generated text: `{rare}`; of Brown: `electronics`.")
    out.append("")
    out.append("| case | corpus | tool | median | peak memory | ratio vs peers | notes |")
    out.append("|---|---|---|---:|---:|---|---|")
    sorted_plix = find("wordlist", "dict-sorted", PLIX)
    shuffled_plix = find("wordlist", "dict-shuffled", PLIX)
    for (case, corpus), members in groups.items():
        members = sorted(members, key=lambda r: r.tool != PLIX)
        for row in members:
            ratios = []
            if row.tool == PLIX and row.ok:
                for peer in members:
                    if peer is not row and peer.ok and peer.median > 0:
                        ratios.append(f"plix / {peer.tool} = {fmt_ratio(row.median / peer.median)}")
                if (row is sorted_plix and shuffled_plix is not None and shuffled_plix.ok):
                    ratios.append(f"sorted / shuffled = {fmt_ratio(row.median / shuffled_plix.median)}")
            if row.ok:
                median, mem = fmt_time(row.median), fmt_mem(row.rss_kb)
            else:
                median, mem = row.status, ""
            ratio_cell = "<br>".join(ratios).replace("|", "\\|")
            tool = row.tool.replace("|", "\\|")
            out.append(f"| {case} | {corpus} | {tool} | {median} | {mem} | {ratio_cell} | {notes(row)} |")
    out.append("")
    out.extend(targets(meta, groups, find, rare))
    out.extend(locale_targets(groups, find, rare))
    print("\n".join(out))


def targets(meta, groups, find, rare):
    lines = ["### Targets", ""]
    large_from = float(meta.get("large_from") or 5e8)
    gens = sorted({c for (_, c) in groups if size_of(c) is not None and size_of(c) < large_from},
                  key=size_of)
    main_corpus = "gen-100M" if "gen-100M" in gens else (gens[-1] if gens else None)
    results = []

    def verdict(ok):
        return "PASS" if ok else "MISS"

    def add(status, text):
        results.append(f"- **{status}** {text}")

    if main_corpus is None:
        add("n/a", "no generated corpus was measured")
    else:
        if main_corpus != "gen-100M":
            lines.append(f"Measured on {main_corpus}; the targets are stated for 100 MB of "
                         "generated text (run without --quick for the real check).")
            lines.append("")
        wl = find("wordlist", main_corpus, PLIX)
        plix_ok = wl is not None and wl.ok

        def speed_target(peer_tool, factor, text):
            peer = find("wordlist", main_corpus, peer_tool)
            if not plix_ok or peer is None or not peer.ok:
                why = "plix " + (wl.status if wl else "not run") if not plix_ok else f"{peer_tool} not measured"
                add("n/a", f"{text} ({why})")
                return
            speedup = peer.median / wl.median
            add(verdict(speedup >= factor),
                f"{text}: plix {fmt_time(wl.median)}, {peer_tool} {fmt_time(peer.median)} "
                f"→ {fmt_ratio(speedup)}× faster (needs ≥ {factor}×)")

        speed_target("coreutils", 10, f"word list, {main_corpus}, at least 10× faster than coreutils")
        speed_target("nltk FreqDist", 5, f"word list, {main_corpus}, at least 5× faster than NLTK FreqDist")

        floor = find("wordlist", main_corpus, "wc -w")
        if plix_ok and floor is not None and floor.ok:
            r = wl.median / floor.median
            add(verdict(r <= 3), f"word list, {main_corpus}, within 3× of wc -w: "
                f"plix {fmt_time(wl.median)}, wc -w {fmt_time(floor.median)} → {fmt_ratio(r)}×")
        else:
            add("n/a", f"word list, {main_corpus}, within 3× of wc -w")

        if plix_ok:
            add(verdict(wl.rss_bytes < 300 * MB),
                f"word list, {main_corpus}, peak memory under 300 MB: {fmt_bytes(wl.rss_bytes)}")
        else:
            add("n/a", f"word list, {main_corpus}, peak memory under 300 MB")

        conc = find("concordance rare", main_corpus, PLIX)
        grep = find("concordance rare", main_corpus, "grep -ci")
        if conc is not None and conc.ok and grep is not None and grep.ok:
            r = conc.median / grep.median
            add(verdict(r <= 3), f"rare-keyword concordance (`{rare}`), {main_corpus}, within 3× of grep -ci: "
                f"plix {fmt_time(conc.median)}, grep -ci {fmt_time(grep.median)} → {fmt_ratio(r)}×")
        else:
            add("n/a", f"rare-keyword concordance, {main_corpus}, within 3× of grep -ci")

        freq = find("concordance frequent", main_corpus, PLIX)
        if freq is not None and freq.status in ("ok", "timeout", "error"):
            if freq.ok:
                hits = int(freq.figures.get("hits", 0))
                size = freq.out_bytes or 0
                rel = f", {fmt_ratio(freq.rss_bytes / size)}× the result text" if size else ""
                add("PASS", f"frequent-keyword concordance (the), {main_corpus}, finishes: "
                    f"{fmt_count(hits)} hits in {fmt_time(freq.median)} "
                    f"({fmt_rate(hits / freq.median)}hits/s); peak memory {fmt_bytes(freq.rss_bytes)} "
                    f"for {fmt_bytes(size)} of result text{rel}")
            else:
                add("MISS", f"frequent-keyword concordance (the), {main_corpus}, finishes: {freq.status} {freq.note}")
        else:
            add("n/a", f"frequent-keyword concordance (the), {main_corpus}, finishes")

    if main_corpus is not None:
        size = main_corpus[len("gen-"):]
        # Parsed units cost more to read than references or tags: 3× for them.
        for markup, name, factor in (("cocoa", "COCOA-referenced", 2), ("sgml", "SGML", 2),
                                     ("helsinki", "Helsinki-format", 2), ("bnc", "BNC-format", 2),
                                     ("ppcme2", "PPCME2-style parsed", 3)):
            corpus = f"{markup}-{size}"
            for case, text in (("wordlist", "word list"), ("concordance rare", "rare-keyword concordance")):
                plain, marked = find(case, main_corpus, PLIX), find(case, corpus, PLIX)
                label = f"{text}, {name} text of {size}, within {factor}× of the same plain text"
                if plain is None or marked is None or not plain.ok or not marked.ok:
                    add("n/a", label + (f" ({marked.status} {marked.note})" if marked else ""))
                    continue
                r = marked.median / plain.median
                add(verdict(r <= factor), f"{label}: {fmt_time(marked.median)} against "
                    f"{fmt_time(plain.median)} → {fmt_ratio(r)}×")

    s, sh = find("wordlist", "dict-sorted", PLIX), find("wordlist", "dict-shuffled", PLIX)
    if s is not None and sh is not None and s.ok and sh.ok:
        r = max(s.median, sh.median) / min(s.median, sh.median)
        add(verdict(r <= 1.5), f"word list of the sorted word list vs shuffled within 1.5×: "
            f"sorted {fmt_time(s.median)}, shuffled {fmt_time(sh.median)} → {fmt_ratio(r)}×")
    elif s is not None and s.status == "timeout":
        add("MISS", f"word list of the sorted word list vs shuffled within 1.5×: sorted timed out ({s.note})")
    else:
        add("n/a", "word list of the sorted word list vs shuffled within 1.5×")

    big = sorted({c for (_, c) in groups if (size_of(c) or 0) >= large_from}, key=size_of)
    if big:
        corpus = big[-1]
        for case, text in (("wordlist", "word list"), ("concordance rare", "rare-keyword concordance")):
            r = find(case, corpus, PLIX)
            if r is None or r.status == "n/a":
                add("n/a", f"{text}, {corpus}, finishes")
            else:
                add(verdict(r.ok), f"{text}, {corpus}, finishes: "
                    + (f"{fmt_time(r.median)}, {fmt_bytes(r.rss_bytes)}" if r.ok else f"{r.status} {r.note}"))
        r_big = find("wordlist", corpus, PLIX)
        r_small = find("wordlist", main_corpus, PLIX) if main_corpus else None
        if r_big is not None and r_small is not None and r_big.ok and r_small.ok:
            # A larger corpus brings new words, and each distinct word needs
            # its entry: memory may grow with the types, not with the text.
            g = r_big.rss_bytes / r_small.rss_bytes
            types_small = int(r_small.figures.get("types", 0) or 0)
            types_big = int(r_big.figures.get("types", 0) or 0)
            t = types_big / types_small if types_small else 1.0
            allowed = max(1.5, 1.2 * t)
            add(verdict(g <= allowed), f"word list memory grows with the distinct words, not the corpus: "
                f"{fmt_bytes(r_small.rss_bytes)} on {main_corpus} ({fmt_count(types_small)} types), "
                f"{fmt_bytes(r_big.rss_bytes)} on {corpus} ({fmt_count(types_big)} types) "
                f"→ memory {fmt_ratio(g)}×, types {fmt_ratio(t)}× (allowing {fmt_ratio(allowed)}×)")
        else:
            add("n/a", "word list memory does not grow with the corpus (needs plix on both "
                "the 100 MB and the large corpus)")
    else:
        add("n/a", "1 GB generated text: run with --full")

    return lines + results



def locale_targets(groups, find, rare):
    """The UTF-8 locales against "C" on the same ASCII text, against grep in
    the same locale, and the accented text against the ASCII one."""
    corpora = sorted({c for (case, c) in groups if case == "locale wordlist"}, key=size_of)
    if not corpora:
        return []
    corpus = corpora[0]
    accented = "accented-" + corpus[len("gen-"):]
    lines = ["", "### Targets in UTF-8 locales", ""]

    def ratio_line(text, row, base, limit):
        if row is None or base is None or not row.ok or not base.ok or base.median <= 0:
            lines.append(f"- **n/a** {text}")
            return
        r = row.median / base.median
        status = "PASS" if r <= limit else "MISS"
        lines.append(f"- **{status}** {text}: {fmt_time(row.median)} against "
                     f"{fmt_time(base.median)} → {fmt_ratio(r)}× (needs ≤ {limit}×)")

    for loc in ("C.UTF-8", "en_US.UTF-8"):
        ratio_line(f"word list, {corpus}, {loc} within 1.15× of C",
                   find("locale wordlist", corpus, f"plix {loc}"),
                   find("locale wordlist", corpus, "plix C"), 1.15)
        ratio_line(f"rare-keyword concordance (`{rare}`), {corpus}, {loc} within 1.15× of C",
                   find("locale concordance rare", corpus, f"plix {loc}"),
                   find("locale concordance rare", corpus, "plix C"), 1.15)
        ratio_line(f"rare-keyword concordance, {corpus}, {loc} within 1.5× of grep -ci in {loc}",
                   find("locale concordance rare", corpus, f"plix {loc}"),
                   find("locale concordance rare", corpus, f"grep -ci {loc}"), 1.5)
        ratio_line(f"word list, one word in five non-ASCII ({accented}), {loc} within 2× of the "
                   "ASCII text",
                   find("locale wordlist accented", accented, f"plix {loc}"),
                   find("locale wordlist", corpus, f"plix {loc}"), 2.0)
    return lines

if __name__ == "__main__":
    main(sys.argv)
