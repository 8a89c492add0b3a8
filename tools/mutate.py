#!/usr/bin/env python3
"""Finds rules the tests miss: puts slips of the kinds people make into the production code one
at a time, rebuilds, runs the suite and says which slips it caught and which survived.

    tools/mutate.py [-n COUNT] [--pick K] [--only I,J...] [--list] [--every-test] [FOLDER...]
    tools/mutate.py --slips FILE [--only I,J...] [--list] [--every-test]

The slips are shared among the folders in proportion to their code lines, then go round-robin
over each folder's classes (a .cpp with its .h); which kind of slip, which line and which
change come from a small fixed generator started at K, so the same K gives the same slips. The
score is given per folder. Survivors judged to change nothing go in
tools/mutation-equivalent.txt as `file:line:kind reason` and are left out of the score. Every
file is put back at the end, also on an interrupt, and the script checks with git that it is.

With --slips, the slips are somebody's own, written by hand where the generator would not look:
a JSON list of {"path", "line", "old", "new", "kind"}, each replacing one whole line; one judged
to change nothing a player or caller could see says why in an "equivalent" of its own. A set
written by people who have not read the tests finds what the tests were never aimed at."""
import argparse, json, os, re, shutil, signal, subprocess, sys, time

FOLDERS = ["game", "forms", "window", "registry", "main", "replay"]
PACKAGE_TESTS = "e2e.package"
# Each kind of slip, and why it is one people make.
KINDS = {
    "compare": "a comparison the wrong way round or off at its end",
    "off-by-one": "a count or a bound one too high",
    "delete": "a call or an assignment forgotten",
    "constant": "a value left at zero",
    "boolean": "true for false, || for &&",
    "swap-items": "arguments or list items in the wrong order: (x, y) for (y, x), a table's columns",
    "other-name": "the wrong variable, member or constant of the same kind, as a copied line keeps",
    "drop-operand": "one alternative of a condition forgotten",
    "literal": "a text or a character mistyped: a message, a format, an escape, a key",
    "drop-guard": "an early return or a check left out, as when a rule is rewritten",
    "swap-statements": "two steps done in the wrong order",
    "int-type": "a whole number type too narrow, too wide or of the wrong sign, so its limits move",
    "near-number": "a near, plausible number: twice or half, 15 for 16, 255 for 256, a 40 ms tick",
}
FLIP = {"<": ">=", ">=": "<", "<=": ">", ">": "<=", "==": "!=", "!=": "==",
        "true": "false", "false": "true", "&&": "||", "||": "&&"}
# The numbers one mistakes for each other: a count and its last index, a tick and a frame rate.
NEAR = {15: 16, 16: 15, 255: 256, 256: 255, 127: 128, 128: 127, 25: 40, 40: 25, 1000: 1024,
        1024: 1000, 32767: 32768, 32768: 32767, 65535: 65536, 65536: 65535, 60: 50, 50: 60}
WIDER = {"8": "16", "16": "8", "32": "16", "64": "32"}
# Numbers, then texts and comments, so that no slip lands inside a text or a comment.
TOKEN = re.compile(r"(?P<num>\b\d[\w'.]*)|\"(?:[^\"\\]|\\.)*\"|'(?:[^'\\]|\\.)'|(?P<cmt>//.*)")
# Bare < and > only with spaces around, as the formatter writes comparisons but not templates.
COMPARE = re.compile(r"(?<![<>=!])(<=|>=|==|!=)(?![=>])|(?<= )(<|>)(?= )")
BOOLEAN = re.compile(r"\b(true|false)\b|(?<= )(&&|\|\|)(?= )")
CHAIN = re.compile(r"(?<= )(&&|\|\|)(?= |$)")
# A statement that assigns to something or calls something; declarations start with a type.
STATEMENT = re.compile(r"[A-Za-z_*][\w.:\[\]>-]*(\s*[-+*/|&]?=[^=]|\()")
PARAMETER = re.compile(r"\w[&*]?\s+[A-Za-z_]\w*\s*[,)=]")
DECLARED = re.compile(r"^\s*(const\s+)?[\w:<>]+[&*]?\s+[&*]?\w+\s*(=.*)?$")
LEAVE = re.compile(r"^(return\b.*|continue|break|throw\b.*);$")
GUARD = re.compile(r"^(\}\s*else\s+)?if\s*\(.*\)\s*\{?$|^(\}\s*)?else\s*\{?$")
INT_TYPE = re.compile(r"\b(?P<std>std::)?(?P<u>u?)int(?P<bits>8|16|32|64)_t\b|"
                      r"(?<![.>])\b(?P<vb>Long|Integer)\b(?!\s*\()")
# A name of a kind: a member reached through an object, a member of one's own, a named constant,
# a variable whose prefix says its type (lLives, sWho, dBest, lblScore).
NAMES = re.compile(r"(?P<via>\b\w+(?:\.|->))(?P<member>[A-Za-z_]\w*)\b(?!\s*[(<])|"
                   r"(?<![.>:\w])(?P<own>[a-z]\w*_)\b(?!\s*\()|(?<![.>:\w])(?P<constant>k[A-Z]\w*)\b|"
                   r"(?<![.>:\w])(?P<typed>[a-z]{1,3}[A-Z]\w*)\b(?!\s*[(<])")
KEYWORDS = {"return", "case", "else", "throw", "delete", "new", "co_return", "not", "and", "or"}
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


def items_of(code, opened):
    """The spans of the top-level, comma-separated items of the bracket opened at OPENED, or
    nothing when it does not close on the line."""
    depth, start, items = 0, opened + 1, []
    for i in range(opened + 1, len(code)):
        if code[i] in "([{":
            depth += 1
        elif code[i] in ")]}":
            if depth == 0:
                return items + [(start, i)]
            depth -= 1
        elif code[i] == "," and depth == 0:
            items.append((start, i))
            start = i + 1
    return []


def operands(line, code, start, end):
    """The spans of the two operands of the && or || at START..END, as far as they go on the
    line: up to a bracket that is not theirs, a comma, a semicolon, an assignment, a return or
    the next && or ||."""
    def stops(i, depth):
        c, pair = code[i], code[i - 1:i + 1] + code[i:i + 2]
        return depth == 0 and (c in ",;?" or c == ":" and "::" not in pair or
                               c == "=" and code[i - 1] not in "=!<>" and code[i + 1:i + 2] != "="
                               or code[i:i + 2] in ("&&", "||") or code[i - 1:i + 1] in ("&&", "||"))
    depth, i = 0, start - 1
    while i >= 0 and not stops(i, depth):
        if code[i] in "([{":
            if depth == 0:
                break
            depth -= 1
        depth += code[i] in ")]}"
        i -= 1
    # Measured on the line itself, so that a text at an operand's end stays in it.
    left = i + 1 + len(line[i + 1:start]) - len(line[i + 1:start].lstrip())
    if code.startswith("return ", left):
        left += len("return ")
    depth, j = 0, end
    while j < len(code) and not stops(j, depth):
        if code[j] in ")]}":
            if depth == 0:
                break
            depth -= 1
        depth += code[j] in "([{"
        j += 1
    right = end + len(line[end:j]) - len(line[end:j].lstrip())
    return (left, start - 1), (right, end + len(line[end:j].rstrip()))


def slips_in(path):
    """Every slip the file offers, as (path, line number, kind, old lines, new lines), and the
    file's code lines."""
    text = open(path, encoding="utf-8").read().split("\n")
    parsed, in_comment = [], False  # per line: the code with texts blanked, numbers, texts
    for line in text:
        if in_comment or line.lstrip().startswith("/*"):
            in_comment = "*/" not in line
            parsed.append(("", [], []))
            continue
        code, numbers, texts = list(line), [], []
        for m in TOKEN.finditer(line):
            if m.group("cmt"):
                del code[m.start():]
                break
            if m.group("num"):
                numbers.append(m)
            else:
                texts.append(m)
                code[m.start():m.end()] = " " * (m.end() - m.start())
        parsed.append(("".join(code), numbers, texts))
    own_class = os.path.basename(os.path.splitext(path)[0])
    # The names of each kind the file uses, for the slip that takes one for another.
    kinds = {}
    for code, _, _ in parsed:
        for m in NAMES.finditer(code):
            kinds.setdefault(name_kind(m), set()).add(name_of(m))
    slips, previous = [], ";"
    for number, (line, (code, numbers, texts)) in enumerate(zip(text, parsed), 1):
        body = code.strip()
        if not body or SKIP.search(line):
            previous = body or previous
            continue
        put = lambda start, end, new: line[:start] + new + line[end:]
        found = [("compare", put(m.start(), m.end(), FLIP[m.group()])) for m in COMPARE.finditer(code)]
        found += [("boolean", put(m.start(), m.end(), FLIP[m.group()]))
                  for m in BOOLEAN.finditer(code)]
        for m in numbers:
            value = re.match(r"\d+", m.group()).group()
            whole = re.fullmatch(r"\d+[uUlL]*", m.group())
            if whole:
                found.append(("off-by-one", put(m.start(), m.start() + len(value),
                                                str(int(value) + 1))))
            if not re.fullmatch(r"0[.0]*[fFuUlL]*|0[xX]\w*", m.group()):
                zero = "0.0" if "." in m.group() else "0"
                found.append(("constant", put(m.start(), m.end(),
                                              zero + m.group().lstrip("0123456789.'"))))
            near = []
            if whole and int(value) > 1:
                near = [NEAR.get(int(value)), int(value) * 2, int(value) % 2 == 0 and int(value) // 2]
            elif re.fullmatch(r"\d+\.\d*[fF]?", m.group()) and float(m.group().rstrip("fF")):
                near = [repr(float(m.group().rstrip("fF")) * 2)]
            found += [("near-number", put(m.start(), m.start() + len(m.group().rstrip("fFuUlL")),
                                          str(n))) for n in near if n]
        declaration = PARAMETER.search(body) or body.startswith(own_class + "(")
        if (previous.endswith((";", "{", "}", ")", ":", "else")) and body.endswith(";")
                and STATEMENT.match(body) and not declaration
                and body.count("(") == body.count(")") and body.count("{") == body.count("}")):
            # An empty block rather than no line, so that an `if` above keeps its body.
            found.append(("delete", line[:len(line) - len(line.lstrip())] + "{}"))
        indent = line[:len(line) - len(line.lstrip())]
        if LEAVE.match(body) and GUARD.match(previous) or \
                re.match(r"^if\s*\(.*\)\s*(return\b.*|continue|break|throw\b.*);$", body):
            found.append(("drop-guard", indent + "{}"))
        for opened in (i for i, c in enumerate(code) if c in "({"):
            spans = items_of(code, opened)
            for (a, b), (c, d) in zip(spans, spans[1:]):
                left, right = line[a:b].strip(), line[c:d].strip()
                if left and right and left != right and not DECLARED.match(code[a:b]) \
                        and not DECLARED.match(code[c:d]):
                    ls, rs = a + line[a:b].index(left), c + line[c:d].index(right)
                    found.append(("swap-items", line[:ls] + right + line[ls + len(left):rs]
                                  + left + line[rs + len(right):]))
        for m in NAMES.finditer(code):
            start = m.start("member") if m.group("member") else m.start()
            word = re.search(r"(\w+|>)\s+[&*]?$", code[:start])
            if word and word.group(1) not in KEYWORDS:
                continue  # a declaration names a new variable; another name would not build
            others = sorted(kinds[name_kind(m)] - {name_of(m)})
            if others:
                # The next name of the kind in alphabetical order: fixed, and often a neighbour.
                other = next((o for o in others if o > name_of(m)), others[0])
                found.append(("other-name", put(start, m.end(), other)))
        for m in CHAIN.finditer(code):
            (ls, le), (rs, re_) = operands(line, code, m.start(), m.end())
            if ls < le:  # the left one and the operator after it
                found.append(("drop-operand", line[:ls] + line[rs if rs < re_ else m.end():]))
            if rs < re_:  # the operator and the right one
                found.append(("drop-operand", line[:le] + line[re_:]))
        if 'R"' not in line:
            for m in texts:
                found.append(("literal", put(m.start(), m.end(), changed(m.group()))))
        # A named number, whose value a narrower or unsigned type may still hold.
        named = re.search(r"constexpr .*=\s*(-?(0[xX])?[\da-fA-F]+[uU]?(\s*[-+*/]\s*\d+)*)\s*;",
                          code)
        value = named and eval(re.sub(r"(0[xX])?[\da-fA-F]+[uU]?", lambda n: str(int(
            n.group().rstrip("uU"), 16 if n.group(1) else 8 if n.group()[0] == "0" else 10)),
            named.group(1)).replace("/", "//"))
        for m in INT_TYPE.finditer(code):
            if re.match(r"[&*]?\s+[A-Za-z_]\w*\s*[,)]", code[m.end():]):
                continue  # a parameter's type, which its declaration elsewhere must match
            if m.group("vb"):
                others = [("", "Integer" if m.group("vb") == "Long" else "Long")]
            else:
                std, u, bits = m.group("std") or "", m.group("u"), m.group("bits")
                others = [(u, f"{std}{u}int{WIDER[bits]}_t"),
                          ("" if u else "u", f"{std}{'' if u else 'u'}int{bits}_t")]
            for sign, other in others:
                bits = int(re.search(r"\d+", other).group()) if "int" in other else \
                    16 if other == "Integer" else 32
                low, high = (0, 2**bits - 1) if sign else (-2**(bits - 1), 2**(bits - 1) - 1)
                if named and low <= value <= high:
                    continue  # the named number fits the other type too: no limit moves
                found.append(("int-type", put(m.start(), m.end(), other)))
        if number < len(text):
            following = parsed[number][0].strip()
            # Steps, not declarations: two members or two functions declared the other way
            # round are the same program.
            if (previous.endswith((";", "{", "}")) and body.endswith(";")
                    and following.endswith(";") and following != body
                    and STATEMENT.match(body) and STATEMENT.match(following)
                    and text[number].startswith(indent) and not text[number].startswith(indent + " ")
                    and not LEAVE.match(body) and not LEAVE.match(following)
                    and not SKIP.search(text[number])
                    and all(s.count("(") == s.count(")") for s in (body, following))):
                found.append(("swap-statements", text[number] + "\n" + line))
                slips.append((path, number, "swap-statements", line + "\n" + text[number],
                              found.pop()[1]))
        slips += [(path, number, kind, line, new) for kind, new in found if new != line]
        previous = body
    return slips, sum(1 for code, _, _ in parsed if code.strip())


def name_kind(m):
    if m.group("member"):
        return m.group("via"), re.match(r"[a-z]*", m.group("member")).group()
    if m.group("own"):
        return "own"
    if m.group("constant"):
        return "constant"
    return "typed", re.match(r"[a-z]*", m.group("typed")).group()


def name_of(m):
    return m.group("member") or m.group("own") or m.group("constant") or m.group("typed")


def changed(literal):
    """A text one character short, an empty one not empty; a character the next one, an escape
    a plain blank."""
    quote, inner = literal[0], literal[1:-1]
    if quote == "'":
        return "' '" if inner.startswith("\\") else f"'{chr(ord(inner) + 1)}'"
    units = re.findall(r"\\.|.", inner)
    return '" "' if not units else '"' + "".join(units[:-1]) + '"'


def choose(folders, count, start):
    """COUNT slips spread over FOLDERS in proportion to their code lines."""
    pick, offers, lines = Pick(start), {}, {}
    for folder in folders:
        listed = subprocess.run(["git", "ls-files", "--", folder], capture_output=True,
                                text=True, check=True).stdout.split()
        # A header offers few slips and each costs a rebuild of all that includes it, so it
        # shares its turn with its class's source.
        classes, lines[folder] = {}, 0
        for path in sorted(f for f in listed if f.endswith((".cpp", ".h"))):
            slips, code_lines = slips_in(path)
            classes.setdefault(os.path.splitext(path)[0], []).extend(slips)
            lines[folder] += code_lines
        offers[folder] = [slips for slips in classes.values() if slips]
        for i in range(len(offers[folder]) - 1, 0, -1):  # the classes' order, shuffled once
            j = pick.below(i + 1)
            offers[folder][i], offers[folder][j] = offers[folder][j], offers[folder][i]
    # Whole shares first, then the slips left over to the folders with the largest remainders.
    total = sum(lines.values())
    share = {f: count * lines[f] // total for f in folders}
    for f in sorted(folders, key=lambda f: -(count * lines[f] % total))[:count - sum(share.values())]:
        share[f] += 1
    chosen, turn = [], 0
    while len(chosen) < count and any(offers[f] and share[f] for f in folders):
        for folder in folders:
            classes = offers[folder]
            if not classes or not share[folder]:
                continue
            slips = classes[turn % len(classes)]
            # One of the kinds the class offers, each as likely, then one slip of that kind.
            offered = [k for k in KINDS if any(s[2] == k for s in slips)]
            kind = offered[pick.below(len(offered))]
            pool = [s for s in slips if s[2] == kind]
            chosen.append(pool[pick.below(len(pool))])
            share[folder] -= 1
            slips.remove(chosen[-1])
            if not slips:
                classes.remove(slips)
        turn += 1
    return chosen, lines


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


def failures(output):
    # A parametrised case's name is followed by its parameter, and an aborted one says so
    # before its stars: the verdict is the word after the stars in every case.
    return re.findall(r"Test +#\d+: (\S+)[^\n]*?\*\*\*(\w+)", output)


def failed(output):
    names = ", ".join(f"{name} ({how.lower()})" for name, how in failures(output))
    return names and f"failed: {names}"


def build_and_test(build, limit, every=False):
    """(verdict, build seconds, suite seconds, what failed, log). EVERY runs the whole suite
    rather than stopping at the first failure, to learn which tests catch the slip."""
    began = time.monotonic()
    status, log = run(["cmake", "--build", build, "-j2"])
    built = time.monotonic()
    if status:
        # Listing a test program's cases runs it: a slip that crashes it there is caught.
        listing = "Error running test executable" in log
        return ("caught" if listing else "no build"), built - began, 0, "listing" * listing, log
    # The package tests build trees of their own from the last commit and judge the packaging,
    # not the game: a slip never reaches them.
    ctest = ["ctest", "--test-dir", build, "-j2", "--timeout", "120", "--output-on-failure",
             "-E", PACKAGE_TESTS]
    stop = [] if every else ["--stop-on-failure"]
    status, log = run(ctest + stop, limit)
    what = failed(log) if status is not None else f"timed out: the suite, after {limit:.0f} s"
    # A test that fails only now and then must not pass for a catch: what failed runs again,
    # and if it passes, the whole suite once more decides.
    if status and run(ctest + ["--rerun-failed"], limit)[0] == 0:
        status, again = run(ctest + stop, limit)
        what = "; ".join(filter(None, [failed(again), f"flaky, {what}, then passed"]))
        log += again
    verdict = "survived" if status == 0 else "caught"
    return verdict, built - began, time.monotonic() - built, what, log


def shown(lines):
    return " / ".join(line.strip() for line in lines.split("\n"))


def main():
    parser = argparse.ArgumentParser(usage=__doc__.split("\n\n")[1].strip())
    parser.add_argument("folders", nargs="*", default=FOLDERS)
    parser.add_argument("-n", "--count", type=int, default=60)
    parser.add_argument("--pick", type=int, default=1, help="where the generator starts")
    parser.add_argument("--list", action="store_true", help="only print the slips")
    parser.add_argument("--only", type=lambda text: {int(i) for i in text.split(",")},
                        help="make only these slips of the run (numbered from 1), as after "
                             "closing what a run left")
    parser.add_argument("--slips", help="make the hand-written slips of this JSON file instead")
    parser.add_argument("--build", default="build-mutate")
    parser.add_argument("--equivalent", default="tools/mutation-equivalent.txt")
    parser.add_argument("--every-test", action="store_true",
                        help="run the whole suite on each slip and name the tests that never "
                             "catch a slip alone (slower: no stop at the first failure)")
    args = parser.parse_args()
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    hand_judged = {}  # a hand-written slip judged to change nothing says why in its "equivalent"
    if args.slips:
        written = json.load(open(args.slips, encoding="utf-8"))
        slips = [(s["path"], s["line"], s["kind"], s["old"], s["new"]) for s in written]
        hand_judged = {f"{s['path']}:{s['line']}:{s['kind']}": s["equivalent"]
                       for s in written if "equivalent" in s}
        code_lines = {}
        args.folders = sorted({path.split("/")[0] for path, *_ in slips})
        # A slip written against older code would change some other line.
        stale = [f"{path}:{number}" for path, number, _, old, _ in slips
                 if open(path, encoding="utf-8").read().split("\n")[number - 1] != old]
        if stale:
            sys.exit("mutate: these lines are no longer what the slips replace: " + " ".join(stale))
    else:
        slips, code_lines = choose(args.folders, args.count, args.pick)
    if not slips:
        sys.exit(f"mutate: no slips to make in {' '.join(args.folders)}")
    if args.list:
        if code_lines:
            print("code lines: " + ", ".join(f"{f} {n}" for f, n in code_lines.items()))
        for path, number, kind, old, new in slips:
            print(f"{path}:{number}:{kind}\n  - {shown(old)}\n  + {shown(new)}")
        return 0
    if run(["git", "diff", "--quiet", "--", *args.folders])[0]:
        sys.exit("mutate: the production folders have changes of their own; commit them first")
    judged = dict(hand_judged)
    if not args.slips and os.path.exists(args.equivalent):
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
                       "-DVARNOTH_BENCH=OFF", "-DVARNOTH_CHECKED=ON", f"-DCMAKE_CXX_FLAGS={LENIENT}",
                       *launcher])
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
            if args.only and index not in args.only:
                continue
            original[path] = open(path, encoding="utf-8").read()
            lines = original[path].split("\n")
            lines[number - 1:number - 1 + len(old.split("\n"))] = new.split("\n")
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            verdict, build_time, suite_time, what, log = build_and_test(args.build, limit,
                                                                        args.every_test)
            put_back()
            where = f"{path}:{number}:{kind}"
            with open(os.path.join(args.build, "mutate-logs", f"{index}.log"), "w") as f:
                f.write(f"{where}\n- {old}\n+ {new}\n\n{log}")
            if verdict == "survived" and where in judged:
                verdict = "equivalent"
            results.append((verdict, where, old, new, build_time + suite_time,
                            [name for name, _ in failures(log)] if verdict == "caught" else []))
            print(f"[{index}/{len(slips)}] {verdict:10} {where}  `{shown(new)}`  build "
                  f"{build_time:.0f} s, suite {suite_time:.0f} s" + (what and f"  {what}"),
                  flush=True)
    finally:
        put_back()
        dirty = run(["git", "diff", "--stat", "--", *args.folders])[1]

    count = {v: sum(r[0] == v for r in results)
             for v in ("caught", "survived", "equivalent", "no build")}
    if count["survived"]:
        print(f"\nsurvived (judge each; one that changes nothing goes in {args.equivalent}):")
        for _, where, old, new, _, _ in (r for r in results if r[0] == "survived"):
            print(f"  {where}\n    - {shown(old)}\n    + {shown(new)}")
    changing = count["caught"] + count["survived"]
    share = f"{100 * count['caught'] / changing:.0f}%" if changing else "none"
    print(f"\ncaught {count['caught']} of {changing} that build and change behaviour ({share}), "
          f"survived {count['survived']}, judged equivalent {count['equivalent']}, "
          f"no build {count['no build']}")
    for folder in args.folders:
        mine = [r[0] for r in results if r[1].startswith(folder + "/")]
        caught, changing = mine.count("caught"), mine.count("caught") + mine.count("survived")
        print(f"  {folder + '/':10} caught {caught} of {changing}"
              + (f" ({100 * caught / changing:.0f}%)" if changing else "")
              + f", equivalent {mine.count('equivalent')}, no build {mine.count('no build')}")
    if args.every_test:
        # A test that catches only slips other tests catch too pays for nothing on its own.
        listed = run(["ctest", "--test-dir", args.build, "-N", "-E", PACKAGE_TESTS])[1]
        alone = {r[5][0] for r in results if len(r[5]) == 1}
        never = sorted(set(re.findall(r"Test +#\d+: (\S+)", listed)) - alone)
        print(f"tests that caught no slip alone ({len(never)}): " + " ".join(never))
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
