#!/usr/bin/env python3
"""Finds rules the tests miss: applies single-line slips to the production code one at a time,
rebuilds, runs the suite and says which slips it caught and which survived.

    tools/mutate.py [-n COUNT] [--pick K] [--list] [FOLDER...]

Slips are spread round-robin over the folders, then over their files; the line and the slip on
it come from a small fixed generator started at K, so the same K always gives the same slips.
Survivors judged to change nothing go in tools/mutation-equivalent.txt as `file:line:kind reason`
and are left out of the score. Every file is put back on exit or interrupt."""
import argparse, os, re, shutil, signal, subprocess, sys, time

FOLDERS = ["game", "view", "registry", "main", "replay"]
KINDS = ["compare", "off-by-one", "delete", "constant", "boolean"]
FLIP = {"<": ">=", ">=": "<", "<=": ">", ">": "<=", "==": "!=", "!=": "==",
        "true": "false", "false": "true", "&&": "||", "||": "&&"}
# Numbers, literals and comments, so that slips land only on code, never inside a text.
TOKEN = re.compile(r"(?P<num>\b\d[\w'.]*)|\"(?:[^\"\\]|\\.)*\"|'(?:[^'\\]|\\.)'|(?P<cmt>//.*)")
COMPARE = re.compile(r"(?<![<>=!])(<=|>=|==|!=)(?![=>])|(?<= )(<|>)(?= )")
BOOLEAN = re.compile(r"\b(true|false)\b|(?<= )(&&|\|\|)(?= )")
# A whole statement that assigns to something or calls something; declarations do not match.
STATEMENT = re.compile(r"[A-Za-z_*][\w.:\[\]>-]*(\s*([-+*/|&]?=)[^=]|\()")
SKIP = re.compile(r"^\s*(#|//|/?\*)|\b(assert|static_assert|Q_ASSERT|qDebug|qInfo|qWarning|"
                  r"qCritical|std::cerr|std::clog)\b|\)[\w\s]*= 0;")  # and a pure virtual's `= 0`


class Pick:
    """The fixed generator: a 64-bit linear congruential one, the same on every machine."""
    def __init__(self, start): self.state = start
    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % 2**64
        return (self.state >> 33) % n


def code_of(line):
    """The line with its literals blanked out and its trailing comment dropped."""
    out, numbers = list(line), []
    for m in TOKEN.finditer(line):
        if m.group("num"):
            numbers.append(m)
        else:
            out[m.start():m.end()] = " " * (m.end() - m.start()) if not m.group("cmt") else []
            if m.group("cmt"):
                break
    return "".join(out).rstrip(), numbers


def slips_in(path):
    """Every slip the file offers, as (path, line number, kind, old line, new line)."""
    slips, previous, in_comment = [], ";", False
    for number, line in enumerate(open(path, encoding="utf-8").read().split("\n"), 1):
        if in_comment or line.lstrip().startswith("/*"):
            in_comment = "*/" not in line
            continue
        code, numbers = code_of(line)
        if not code.strip() or SKIP.search(line):
            continue
        put = lambda a, b, text: line[:a] + text + line[b:]
        found = [("compare", put(m.start(), m.end(), FLIP[m.group()]))
                 for m in COMPARE.finditer(code)]
        found += [("boolean", put(m.start(), m.end(), FLIP[m.group()]))
                  for m in BOOLEAN.finditer(code)]
        for m in numbers:
            text = m.group()
            if re.fullmatch(r"\d+[uUlL]*", text):
                digits = re.match(r"\d+", text).group()
                found.append(("off-by-one", put(m.start(), m.start() + len(digits),
                                                str(int(digits) + 1))))
            if not re.fullmatch(r"0[.0]*[fFuUlL]*", text) and not text.startswith("0x"):
                zero = "0.0" if "." in text else "0"
                found.append(("constant", put(m.start(), m.end(), zero + text.lstrip("0123456789.'"))))
        body = code.strip()
        starts = previous.endswith((";", "{", "}", ")", ":", "else"))
        called = STATEMENT.match(body)
        # A constructor's declaration looks like a call: it is named after the file's class.
        declared = called and (re.search(r"\w[&*]?\s+[A-Za-z_]\w*\s*[,)=]", body)
                               or body.startswith(os.path.basename(path).split(".")[0] + "("))
        if (starts and body.endswith(";") and called and not declared
                and body.count("(") == body.count(")") and body.count("{") == body.count("}")):
            # An empty block, not a deleted line, so that an `if` above keeps its body.
            found.append(("delete", line[:len(line) - len(line.lstrip())] + "{}"))
        slips += [(path, number, kind, line, new) for kind, new in found]
        previous = body
    return slips


def choose(folders, count, start):
    """COUNT slips: round-robin over the folders, then over each folder's classes (in an order
    shuffled once), a kind and then a slip of that kind drawn from the class's offers."""
    pick, offers = Pick(start), {}
    for folder in folders:
        listed = subprocess.run(["git", "ls-files", "--", folder], capture_output=True,
                                text=True, check=True).stdout.split()
        # A class's header and source are one stop of the round: headers offer few slips, and
        # each costs a rebuild of everything that includes it.
        classes = {}
        for path in sorted(f for f in listed if f.endswith((".cpp", ".h"))):
            classes.setdefault(os.path.splitext(path)[0], []).extend(slips_in(path))
        files = [s for s in classes.values() if s]
        for i in range(len(files) - 1, 0, -1):
            j = pick.below(i + 1)
            files[i], files[j] = files[j], files[i]
        offers[folder] = files
    chosen, turn = [], 0
    while len(chosen) < count and any(offers.values()):
        for files in (offers[f] for f in folders if offers[f]):
            if len(chosen) == count:
                break
            slips = files[turn % len(files)]
            wanted = KINDS[pick.below(len(KINDS))]
            pool = [s for s in slips if s[2] == wanted] or slips
            chosen.append(pool[pick.below(len(pool))])
            slips.remove(chosen[-1])
            if not slips:
                files.remove(slips)
        turn += 1
    return chosen


def run(command, **options):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          **options)


def build_and_test(build):
    """(verdict, build seconds, suite seconds, what failed)."""
    began = time.monotonic()
    made = run(["cmake", "--build", build, "-j2"])
    built = time.monotonic()
    if made.returncode != 0:
        # Listing a test program's cases runs it: a slip that crashes it there is caught.
        if "Error running test executable" in made.stdout:
            return "caught", built - began, 0.0, "test listing"
        return "no build", built - began, 0.0, ""
    suite = run(["ctest", "--test-dir", build, "-j2", "--timeout", "120", "--stop-on-failure"])
    failed = re.findall(r"Test +#\d+: (\S+) \.+\*+(\w+)", suite.stdout)
    what = ", ".join(f"{name} ({how.lower()})" for name, how in failed)
    return ("caught" if suite.returncode else "survived"), built - began, \
        time.monotonic() - built, what


def equivalents(path):
    if not os.path.exists(path):
        return {}
    entries = (line.split(None, 1) for line in open(path, encoding="utf-8"))
    return {e[0]: e[1].strip() if len(e) > 1 else "" for e in entries
            if e and not e[0].startswith("#")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folders", nargs="*", default=FOLDERS)
    parser.add_argument("-n", "--count", type=int, default=60)
    parser.add_argument("--pick", type=int, default=1, help="where the generator starts")
    parser.add_argument("--list", action="store_true", help="only print the slips")
    parser.add_argument("--build", default="build-mutate")
    parser.add_argument("--equivalent", default="tools/mutation-equivalent.txt")
    args = parser.parse_args()
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    slips = choose(args.folders, args.count, args.pick)
    if args.list:
        for path, number, kind, old, new in slips:
            print(f"{path}:{number}:{kind}\n  - {old.strip()}\n  + {new.strip()}")
        return 0
    if run(["git", "diff", "--quiet", "--", *args.folders]).returncode:
        sys.exit("mutate: the production folders have changes of their own; commit them first")

    original = {}  # path -> text, while a slip is in it

    def put_back(*_):
        for path, text in original.items():
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        original.clear()

    def interrupted(number, _):
        put_back()
        sys.exit(128 + number)
    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)

    if not os.path.exists(os.path.join(args.build, "CMakeCache.txt")):
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
        run(["cmake", "-S", ".", "-B", args.build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
             "-DVARNOTH_BENCH=OFF", *launcher], check=True)
    verdict, build_time, suite_time, what = build_and_test(args.build)
    print(f"unchanged tree: {verdict}, build {build_time:.0f} s, suite {suite_time:.0f} s", flush=True)
    if verdict != "survived":
        sys.exit("mutate: the suite must pass on the unchanged tree" + (f": {what}" if what else ""))

    judged, results = equivalents(args.equivalent), []
    try:
        for index, (path, number, kind, old, new) in enumerate(slips, 1):
            text = open(path, encoding="utf-8").read()
            lines = text.split("\n")
            lines[number - 1] = new
            original[path] = text
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            verdict, build_time, suite_time, what = build_and_test(args.build)
            put_back()
            where = f"{path}:{number}:{kind}"
            if verdict == "survived" and where in judged:
                verdict = "equivalent"
            results.append((verdict, where, old, new, build_time + suite_time))
            print(f"[{index}/{len(slips)}] {verdict:10} {where}  `{new.strip()}`  "
                  f"build {build_time:.0f} s, suite {suite_time:.0f} s"
                  + (f"  failed: {what}" if what else ""), flush=True)
    finally:
        put_back()
        dirty = run(["git", "diff", "--stat", "--", *args.folders]).stdout

    count = {v: sum(r[0] == v for r in results) for v in ("caught", "survived", "equivalent", "no build")}
    survivors = [r for r in results if r[0] == "survived"]
    if survivors:
        print("\nsurvived (judge each; one that changes nothing goes in " + args.equivalent + "):")
        for _, where, old, new, _ in survivors:
            print(f"  {where}\n    - {old.strip()}\n    + {new.strip()}")
    changing = count["caught"] + count["survived"]
    share = f"{100 * count['caught'] / changing:.0f}%" if changing else "n/a"
    timed = [r[4] for r in results if r[0] != "no build"]
    print(f"\ncaught {count['caught']} of {changing} that build and change behaviour ({share}), "
          f"survived {count['survived']}, judged equivalent {count['equivalent']}, "
          f"no build {count['no build']}")
    if timed:
        print(f"time per slip that builds: mean {sum(timed) / len(timed):.0f} s, "
              f"max {max(timed):.0f} s")
    if dirty:
        sys.exit("mutate: the tree is not clean after the run:\n" + dirty)
    print("tree clean: every file is back as it was")
    return 0


if __name__ == "__main__":
    sys.exit(main())
