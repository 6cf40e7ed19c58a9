#!/usr/bin/env bash
# Installs what is missing, then runs clang-tidy (the repo's .clang-tidy) over
# the program's sources; prints each finding and exits non-zero when there is
# any, or when clang-tidy could not run at all.
#
#   scripts/tidy.sh [BUILD]
#
# BUILD is a configured build folder to take the compile commands from (the
# test command passes its own); without it the folder build-tidy is used.
# A whole run takes many minutes, so each source file found clean is
# remembered in .tidy-clean (kept in the repository, so that a fresh clone
# and CI start from it) with a fingerprint of everything its check read:
# clang-tidy's version, .clang-tidy, its compile command and the contents of
# every file of ours it includes (from the compiler's dependency file; a
# system header counts by its path). Paths inside the sources and the build
# folder are taken relative to them, so the fingerprint is the same in any
# clone. A later run checks again only the files whose fingerprint changed;
# commit .tidy-clean with the change that made it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" tidy
for tool in clang-tidy python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "tidy: $tool is not installed, so nothing was checked" >&2
        exit 2
    fi
done
if (($# > 0)); then
    build=$(cd "$1" && pwd)
else
    build="$root/build-tidy"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DREELKEEPER_BUILD_TESTS=OFF >/dev/null
fi
# Generates the moc files the sources include, and the dependency files.
cmake --build "$build" -j"$(nproc)" >/dev/null
exec python3 - "$root" "$build" "$(nproc)" <<'EOF'
import concurrent.futures, hashlib, json, os, re, shlex, subprocess, sys

root, build, jobs = sys.argv[1], sys.argv[2], int(sys.argv[3])
src = os.path.join(root, "src") + os.sep
cache = os.path.join(root, ".tidy-clean")
version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout
with open(os.path.join(root, ".clang-tidy"), "rb") as f:
    config = f.read()
contents = {}

def content(path):
    if path not in contents:
        try:
            with open(path, "rb") as f:
                contents[path] = hashlib.sha256(f.read()).digest()
        except OSError:
            contents[path] = b"missing"
    return contents[path]

def portable(text):
    """The text with this clone's and this build's folders named as in any other."""
    return text.replace(build, "<build>").replace(root, "<root>")

def fingerprint(entry):
    """What the check of one file depends on, or None when that is unknown."""
    args = shlex.split(entry["command"])
    if "-o" not in args:
        return None
    depfile = os.path.join(entry["directory"], args[args.index("-o") + 1] + ".d")
    try:
        with open(depfile) as f:
            text = f.read().replace("\\\n", " ").replace("\\ ", "\0")
    except OSError:
        return None
    key = hashlib.sha256()
    for part in (version.encode(), config, portable(entry["command"]).encode()):
        key.update(hashlib.sha256(part).digest())
    for dep in text.split(":", 1)[1].split():
        path = os.path.normpath(os.path.join(entry["directory"], dep.replace("\0", " ")))
        ours = path.startswith(root + os.sep)
        key.update(portable(path).encode() + b"\0" + (content(path) if ours else b""))
    return key.hexdigest()

with open(os.path.join(build, "compile_commands.json")) as f:
    entries = [e for e in json.load(f) if e["file"].startswith(src) and e["file"].endswith(".cpp")]
try:
    with open(cache) as f:
        clean = set(f.read().split())
except OSError:
    clean = set()

todo = []
for entry in entries:
    key = fingerprint(entry)
    if key is None or key not in clean:
        todo.append((entry["file"], key))
print(f"clang-tidy: checking {len(todo)} of {len(entries)} files "
      f"({len(entries) - len(todo)} unchanged since they were found clean)", flush=True)

finding = re.compile(r"^" + re.escape(src) + r".*: (warning|error):")
colour = re.compile(r"\x1b\[[0-9;]*m")

def check(item):
    file, key = item
    run = subprocess.run(["clang-tidy", "-p", build, "--quiet", file], stdin=subprocess.DEVNULL,
                         capture_output=True, text=True)
    lines = colour.sub("", run.stdout + run.stderr).splitlines()
    return file, key, run, [line for line in lines if finding.match(line)]

findings, failed, now_clean = set(), [], set()
with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
    for file, key, run, found in pool.map(check, todo):
        findings.update(found)
        if found:
            continue
        if run.returncode != 0:
            failed.append((file, run.stdout + run.stderr))
        elif key is not None:
            now_clean.add(key)

# Keeps the fingerprints that still match a file, and the new ones.
current = {fingerprint(e) for e in entries}
with open(cache, "w") as f:
    f.write("".join(k + "\n" for k in sorted((clean & current) | now_clean)))

if findings:
    print("\n".join(sorted(findings)))
    sys.exit(1)
if failed:
    for file, output in failed:
        print(f"tidy: clang-tidy failed on {file} without a finding in the sources:",
              file=sys.stderr)
        print(output, file=sys.stderr)
    sys.exit(2)
print("clang-tidy: no findings")
EOF
