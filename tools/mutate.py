#!/usr/bin/env python3
"""Finds rules the tests miss: puts single-line slips into the production code one at a time,
rebuilds, runs the suite and says which slips it caught and which survived.

    tools/mutate.py [-n COUNT] [--pick K] [--list] [FOLDER...]

The slips go round-robin over the folders, then over each folder's classes (a .cpp with its .h);
which line and which slip come from a small fixed generator started at K, so the same K gives
the same slips. Survivors judged to change nothing go in tools/mutation-equivalent.txt as
`file:line:kind reason` and are left out of the score. Every file is put back at the end, also
on an interrupt, and the script checks with git that it is."""
import argparse, os, re, shutil, signal, subprocess, sys, time

FOLDERS = ["game", "forms", "window", "registry", "main", "replay"]
KINDS = ["compare", "off-by-one", "delete", "constant", "boolean"]
FLIP = {"<": ">=", ">=": "<", "<=": ">", ">": "<=", "==": "!=", "!=": "==",
        "true": "false", "false": "true", "&&": "||", "||": "&&"}
# Numbers, then texts and comments, so that no slip lands inside a text or a comment.
TOKEN = re.compile(r"(?P<num>\b\d[\w'.]*)|\"(?:[^\"\\]|\\.)*\"|'(?:[^'\\]|\\.)'|(?P<cmt>//.*)")
# Bare < and > only with spaces around, as the formatter writes comparisons but not templates.
COMPARE = re.compile(r"(?<![<>=!])(<=|>=|==|!=)(?![=>])|(?<= )(<|>)(?= )")
BOOLEAN = re.compile(r"\b(true|false)\b|(?<= )(&&|\|\|)(?= )")
# A statement that assigns to something or calls something; declarations start with a type.
STATEMENT = re.compile(r"[A-Za-z_*][\w.:\[\]>-]*(\s*[-+*/|&]?=[^=]|\()")
PARAMETER = re.compile(r"\w[&*]?\s+[A-Za-z_]\w*\s*[,)=]")
SKIP = re.compile(r"^\s*(#|//|/\*|\*(\s|/|$))|\b(assert|static_assert|Q_ASSERT|qDebug|qInfo|"
                  r"qWarning|qCritical|std::cerr|std::clog)\b|\)[\w\s]*= 0;")
# Warnings are errors here: without these, a deleted statement that leaves a parameter or a
# helper unused, or a && turned || among others, would count as a slip that does not build.
LENIENT = "-Wno-unused-parameter -Wno-unused-variable -Wno-unused-but-set-variable " \
          "-Wno-unused-function -Wno-parentheses"


class Pick:
    """The fixed generator: a 64-bit linear congruential one, the same on every machine."""
    def __init__(self, start): self.state = start
    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) % 2**64
        return (self.state >> 33) % n


def slips_in(path):
    """Every slip the file offers, as (path, line number, kind, old line, new line)."""
    slips, previous, in_comment = [], ";", False
    for number, line in enumerate(open(path, encoding="utf-8").read().split("\n"), 1):
        if in_comment or line.lstrip().startswith("/*"):
            in_comment = "*/" not in line
            continue
        code, numbers = list(line), []  # the code blanks out texts and drops the comment
        for m in TOKEN.finditer(line):
            if m.group("cmt"):
                del code[m.start():]
                break
            if m.group("num"):
                numbers.append(m)
            else:
                code[m.start():m.end()] = " " * (m.end() - m.start())
        body = "".join(code).strip()
        if not body or SKIP.search(line):
            continue
        put = lambda m, text: line[:m.start()] + text + line[m.end():]
        found = [("compare", put(m, FLIP[m.group()])) for m in COMPARE.finditer("".join(code))]
        found += [("boolean", put(m, FLIP[m.group()])) for m in BOOLEAN.finditer("".join(code))]
        for m in numbers:
            value = re.match(r"\d+", m.group()).group()
            if re.fullmatch(r"\d+[uUlL]*", m.group()):
                found.append(("off-by-one", line[:m.start()] + str(int(value) + 1)
                              + line[m.start() + len(value):]))
            if not re.fullmatch(r"0[.0]*[fFuUlL]*|0[xX]\w*", m.group()):
                zero = "0.0" if "." in m.group() else "0"
                found.append(("constant", put(m, zero + m.group().lstrip("0123456789.'"))))
        # A constructor's declaration looks like a call; it is named after the file's class.
        own_class = os.path.basename(os.path.splitext(path)[0])
        declaration = PARAMETER.search(body) or body.startswith(own_class + "(")
        if (previous.endswith((";", "{", "}", ")", ":", "else")) and body.endswith(";")
                and STATEMENT.match(body) and not declaration
                and body.count("(") == body.count(")") and body.count("{") == body.count("}")):
            # An empty block rather than no line, so that an `if` above keeps its body.
            found.append(("delete", line[:len(line) - len(line.lstrip())] + "{}"))
        slips += [(path, number, kind, line, new) for kind, new in found]
        previous = body
    return slips


def choose(folders, count, start):
    pick, offers, chosen = Pick(start), {}, []
    for folder in folders:
        listed = subprocess.run(["git", "ls-files", "--", folder], capture_output=True,
                                text=True, check=True).stdout.split()
        # A header offers few slips and each costs a rebuild of all that includes it, so it
        # shares its turn with its class's source.
        classes = {}
        for path in sorted(f for f in listed if f.endswith((".cpp", ".h"))):
            classes.setdefault(os.path.splitext(path)[0], []).extend(slips_in(path))
        offers[folder] = [slips for slips in classes.values() if slips]
        for i in range(len(offers[folder]) - 1, 0, -1):  # the classes' order, shuffled once
            j = pick.below(i + 1)
            offers[folder][i], offers[folder][j] = offers[folder][j], offers[folder][i]
    turn = 0
    while len(chosen) < count and any(offers.values()):
        for classes in [offers[f] for f in folders if offers[f]][:count - len(chosen)]:
            slips = classes[turn % len(classes)]
            first = pick.below(len(KINDS))  # a kind, or the next one the class offers
            pool = next(p for k in KINDS[first:] + KINDS[:first]
                        if (p := [s for s in slips if s[2] == k]))
            chosen.append(pool[pick.below(len(pool))])
            slips.remove(chosen[-1])
            if not slips:
                classes.remove(slips)
        turn += 1
    return chosen


running = []  # the command under way, so that an interrupt stops it and all it started


def run(command, limit=None):
    """(status, output); a command that outlives LIMIT seconds is stopped and has status None."""
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                             start_new_session=True)
    running[:] = [child]
    try:
        output = child.communicate(timeout=limit)[0]
        return child.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(child.pid, signal.SIGKILL)
        return None, child.communicate()[0]
    finally:
        running.clear()


def failed(output):
    names = ", ".join(f"{name} ({how.lower()})"
                      for name, how in re.findall(r"Test +#\d+: (\S+) \.+\*+(\w+)", output))
    return names and f"failed: {names}"


def build_and_test(build, limit):
    """(verdict, build seconds, suite seconds, what failed, log)."""
    began = time.monotonic()
    status, log = run(["cmake", "--build", build, "-j2"])
    built = time.monotonic()
    if status:
        # Listing a test program's cases runs it: a slip that crashes it there is caught.
        listing = "Error running test executable" in log
        return ("caught" if listing else "no build"), built - began, 0, "listing" * listing, log
    # The package test builds a tree of its own and judges the packaging, not the game.
    ctest = ["ctest", "--test-dir", build, "-j2", "--timeout", "120", "--output-on-failure",
             "-E", "e2e.package"]
    status, log = run(ctest + ["--stop-on-failure"], limit)
    what = failed(log) if status is not None else f"timed out: the suite, after {limit:.0f} s"
    # A test that fails only now and then must not pass for a catch: what failed runs again,
    # and if it passes, the whole suite once more decides.
    if status and run(ctest + ["--rerun-failed"], limit)[0] == 0:
        status, again = run(ctest + ["--stop-on-failure"], limit)
        what = "; ".join(filter(None, [failed(again), f"flaky, {what}, then passed"]))
        log += again
    verdict = "survived" if status == 0 else "caught"
    return verdict, built - began, time.monotonic() - built, what, log


def main():
    parser = argparse.ArgumentParser(usage=__doc__.split("\n\n")[1].strip())
    parser.add_argument("folders", nargs="*", default=FOLDERS)
    parser.add_argument("-n", "--count", type=int, default=60)
    parser.add_argument("--pick", type=int, default=1, help="where the generator starts")
    parser.add_argument("--list", action="store_true", help="only print the slips")
    parser.add_argument("--build", default="build-mutate")
    parser.add_argument("--equivalent", default="tools/mutation-equivalent.txt")
    args = parser.parse_args()
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    slips = choose(args.folders, args.count, args.pick)
    if not slips:
        sys.exit(f"mutate: no slips to make in {' '.join(args.folders)}")
    if args.list:
        for path, number, kind, old, new in slips:
            print(f"{path}:{number}:{kind}\n  - {old.strip()}\n  + {new.strip()}")
        return 0
    if run(["git", "diff", "--quiet", "--", *args.folders])[0]:
        sys.exit("mutate: the production folders have changes of their own; commit them first")
    judged = {}
    if os.path.exists(args.equivalent):
        for entry in open(args.equivalent, encoding="utf-8"):
            if entry.strip() and not entry.startswith("#"):
                judged[entry.split()[0]] = entry

    original = {}  # path -> text, while a slip is in it

    def put_back():
        for path, text in original.items():
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        original.clear()

    def interrupted(number, _):
        for child in running:
            os.killpg(child.pid, signal.SIGKILL)
        put_back()
        sys.exit(128 + number)
    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)

    launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
    status, log = run(["cmake", "-S", ".", "-B", args.build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                       "-DVARNOTH_BENCH=OFF", f"-DCMAKE_CXX_FLAGS={LENIENT}", *launcher])
    verdict, build_time, suite_time, what, log = build_and_test(args.build, None) \
        if status == 0 else ("no build", 0, 0, "", log)
    print(f"unchanged tree: {verdict}, build {build_time:.0f} s, suite {suite_time:.0f} s",
          flush=True)
    if verdict != "survived":
        sys.exit(log[-3000:] + f"\nmutate: the unchanged tree must build and pass; {what}")
    limit, results = max(300.0, 3 * suite_time), []
    os.makedirs(os.path.join(args.build, "mutate-logs"), exist_ok=True)
    try:
        for index, (path, number, kind, old, new) in enumerate(slips, 1):
            original[path] = open(path, encoding="utf-8").read()
            lines = original[path].split("\n")
            lines[number - 1] = new
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            verdict, build_time, suite_time, what, log = build_and_test(args.build, limit)
            put_back()
            where = f"{path}:{number}:{kind}"
            with open(os.path.join(args.build, "mutate-logs", f"{index}.log"), "w") as f:
                f.write(f"{where}\n- {old}\n+ {new}\n\n{log}")
            if verdict == "survived" and where in judged:
                verdict = "equivalent"
            results.append((verdict, where, old, new, build_time + suite_time))
            print(f"[{index}/{len(slips)}] {verdict:10} {where}  `{new.strip()}`  build "
                  f"{build_time:.0f} s, suite {suite_time:.0f} s" + (what and f"  {what}"),
                  flush=True)
    finally:
        put_back()
        dirty = run(["git", "diff", "--stat", "--", *args.folders])[1]

    count = {v: sum(r[0] == v for r in results)
             for v in ("caught", "survived", "equivalent", "no build")}
    if count["survived"]:
        print(f"\nsurvived (judge each; one that changes nothing goes in {args.equivalent}):")
        for _, where, old, new, _ in (r for r in results if r[0] == "survived"):
            print(f"  {where}\n    - {old.strip()}\n    + {new.strip()}")
    changing = count["caught"] + count["survived"]
    share = f"{100 * count['caught'] / changing:.0f}%" if changing else "none"
    print(f"\ncaught {count['caught']} of {changing} that build and change behaviour ({share}), "
          f"survived {count['survived']}, judged equivalent {count['equivalent']}, "
          f"no build {count['no build']}")
    timed = [r[4] for r in results if r[0] != "no build"]
    if timed:
        print(f"time per slip that builds: mean {sum(timed) / len(timed):.0f} s, "
              f"max {max(timed):.0f} s")
    if dirty:
        sys.exit("mutate: the tree is not clean after the run:\n" + dirty)
    print("tree clean: every file is back as it was")
    return 0


if __name__ == "__main__":
    sys.exit(main())
