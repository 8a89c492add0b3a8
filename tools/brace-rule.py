#!/usr/bin/env python3
"""The one brace rule: a body of one line under an if, for or while that has no else goes
without braces. A test's EXPECT_ or ASSERT_ keeps them: those expand to an if of their own. Lists the places that break it and exits 1; with --fix, fixes them.
    tools/brace-rule.py [--fix] FILE...
"""
import re
import sys

HEAD = re.compile(r"^(\s*)(if|for|while) \(.*\) \{$")


def braced_one_liners(lines):
    """Yields the index of each head whose one-line body stands in braces."""
    for i in range(len(lines) - 2):
        match = HEAD.match(lines[i])
        if not match:
            continue
        indent, body = match.group(1), lines[i + 1]
        if (lines[i + 2] == indent + "}" and body.startswith(indent + "    ")
                and body.rstrip().endswith(";") and not body.strip().startswith("//")
                and not body.strip().startswith(("EXPECT_", "ASSERT_"))
                and not (i > 0 and lines[i - 1].rstrip().endswith("else"))):
            yield i


def main(args):
    fix = args[:1] == ["--fix"]
    broken = 0
    for path in args[1:] if fix else args:
        lines = open(path, encoding="utf-8").read().split("\n")
        found = list(braced_one_liners(lines))
        broken += len(found)
        if not fix:
            for i in found:
                print(f"{path}:{i + 1}: a one-line body goes without braces")
            continue
        for i in reversed(found):
            lines[i:i + 3] = [lines[i][:-2], lines[i + 1]]
        if found:
            open(path, "w", encoding="utf-8").write("\n".join(lines))
    return 0 if fix or broken == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
