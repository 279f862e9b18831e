#!/usr/bin/python3
"""Checks that the install list of tools/install-deps.sh provides everything a build uses.

A fresh Debian machine has only what that list installs (and what its packages depend on), so a
library, header or program that a developer's machine has from some earlier install links and
runs there and fails on the fresh one. This check reads what the build really used:

- the libraries on the link lines of build.ninja,
- the shared libraries the built programs load (ldd),
- the system headers the compiler read (ninja's dependency log),
- the programs and Python modules that the scripts, tests and programs run (the
  ventora_programs and ventora_python_modules arrays of the install script),

finds the Debian package that owns each file, and fails, naming the package and a file that
needs it, when that package is neither in the list nor pulled in by the list's own Depends
(apt-cache depends --recurse without recommends), nor Essential (on every Debian system).

Usage: check-install-list.py BUILD_DIR [INSTALL_SCRIPT]. Exit 0: complete; 1: something is
missing; 2: the build cannot be read (not a Ninja build, or not built yet).
"""

import glob
import os
import subprocess
import sys

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.realpath(__file__)))


def bash_array(script, name):
    """The elements of a bash array set by sourcing the install script."""
    out = subprocess.run(
        ["bash", "-c", 'source "$1" && printf "%s\\n" "${' + name + '[@]}"', "bash", script],
        check=True, capture_output=True, text=True).stdout
    return [word for word in out.split("\n") if word]


def owners_by_path():
    """Every file dpkg installed, mapped to its package (without the architecture)."""
    owners = {}
    for listing in glob.glob("/var/lib/dpkg/info/*.list"):
        package = os.path.basename(listing)[:-len(".list")].split(":")[0]
        with open(listing, encoding="utf-8", errors="surrogateescape") as lines:
            for line in lines:
                owners.setdefault(line.rstrip("\n"), package)
    return owners


def path_variants(path):
    """The names under which dpkg may list a file: as given, resolved, and across the merged /usr."""
    seen = []
    for candidate in (os.path.normpath(path), os.path.realpath(path)):
        for variant in (candidate,
                        candidate[len("/usr"):] if candidate.startswith("/usr/") else "/usr" + candidate):
            if variant not in seen:
                seen.append(variant)
    return seen


def owner_of(path, owners):
    for variant in path_variants(path):
        if variant in owners:
            return owners[variant]
    return None


def allowed_packages(listed):
    """The listed packages, everything they depend on, and the Essential ones."""
    allowed = set(listed)
    out = subprocess.run(
        ["apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests", "--no-conflicts",
         "--no-breaks", "--no-replaces", "--no-enhances", "--important"] + listed,
        capture_output=True, text=True).stdout
    for line in out.split("\n"):
        word = line.strip()
        if ":" in word and not word.startswith("<"):
            word = word.split(":", 1)[1].strip()  # "Depends: pkg" / "PreDepends: pkg"
        word = word.strip("<>|")
        if word:
            allowed.add(word.split(":")[0])
    essential = subprocess.run(
        ["dpkg-query", "-W", "-f", "${Package} ${Essential}\\n"],
        capture_output=True, text=True).stdout
    for line in essential.split("\n"):
        fields = line.split()
        if len(fields) == 2 and fields[1] == "yes":
            allowed.add(fields[0])
    return allowed


def is_ours(path, build_dir):
    path = os.path.realpath(path)
    return path.startswith(SOURCE_DIR + os.sep) or path.startswith(build_dir + os.sep)


def link_libraries(build_dir):
    """(library file, target that links it) for every system library on a link line."""
    needs = []
    target = None
    with open(os.path.join(build_dir, "build.ninja"), encoding="utf-8") as ninja:
        for line in ninja:
            if line.startswith("build "):
                target = line[len("build "):].split(":", 1)[0].strip()
            elif line.startswith("  LINK_LIBRARIES = "):
                for word in line.split("=", 1)[1].split():
                    if word.startswith("-l"):
                        found = subprocess.run(["c++", "-print-file-name=lib" + word[2:] + ".so"],
                                               capture_output=True, text=True).stdout.strip()
                        needs.append((found if os.path.isabs(found) else word, target))
                    elif os.path.isabs(word) and not is_ours(word, build_dir):
                        needs.append((word, target))
    return needs


def header_files(build_dir):
    """(header, object file that includes it) for every system header the compiler read."""
    out = subprocess.run(["ninja", "-C", build_dir, "-t", "deps"], capture_output=True, text=True,
                         check=True).stdout
    needs = []
    target = None
    for line in out.split("\n"):
        if line and not line.startswith(" "):
            target = line.split(":", 1)[0]
        elif line.strip().startswith("/") and not is_ours(line.strip(), build_dir):
            needs.append((line.strip(), target))
    return needs


def is_elf_program(path):
    if not os.path.isfile(path) or not os.access(path, os.X_OK):
        return False
    with open(path, "rb") as file:
        return file.read(4) == b"\x7fELF"


def loaded_libraries(build_dir):
    """(shared library, program) for what every built program loads."""
    needs = []
    for folder, dirs, files in os.walk(build_dir):
        dirs[:] = [d for d in dirs if not d.endswith(".dir") and d != "CMakeFiles"]
        for name in files:
            program = os.path.join(folder, name)
            if not is_elf_program(program):
                continue
            out = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
            for line in out.split("\n"):
                if "=>" in line:
                    library = line.split("=>", 1)[1].split("(")[0].strip()
                    if os.path.isabs(library):
                        needs.append((library, os.path.relpath(program, build_dir)))
    return needs


def program_files(programs):
    needs = []
    for program in programs:
        found = subprocess.run(["bash", "-c", 'command -v "$1"', "bash", program],
                               capture_output=True, text=True).stdout.strip()
        needs.append((found if found.startswith("/") else "program " + program, "the scripts and tests"))
    return needs


def python_module_files(modules):
    needs = []
    for module in modules:
        found = subprocess.run(
            ["/usr/bin/python3", "-c", "import " + module + "; print(" + module + ".__file__)"],
            capture_output=True, text=True).stdout.strip()
        needs.append((found if found.startswith("/") else "Python module " + module,
                      "the tests (/usr/bin/python3)"))
    return needs


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip().split("\n\n")[-1], file=sys.stderr)
        return 2
    build_dir = os.path.realpath(argv[1])
    script = argv[2] if len(argv) > 2 else os.path.join(SOURCE_DIR, "tools", "install-deps.sh")
    if not os.path.exists(os.path.join(build_dir, "build.ninja")):
        print("install list check: " + build_dir + " is not a Ninja build", file=sys.stderr)
        return 2

    listed = bash_array(script, "ventora_packages")
    allowed = allowed_packages(listed)
    owners = owners_by_path()
    needs = {}  # file -> the first thing found that needs it
    for path, needed_by in (link_libraries(build_dir) + loaded_libraries(build_dir)
                            + header_files(build_dir)
                            + program_files(bash_array(script, "ventora_programs"))
                            + python_module_files(bash_array(script, "ventora_python_modules"))):
        needs.setdefault(path, needed_by)

    missing = {}  # package (or None for an unowned file) -> first (file, needed by)
    for path, needed_by in needs.items():
        package = owner_of(path, owners) if path.startswith("/") else None
        if package is None:
            missing.setdefault(("", path), (path, needed_by))
        elif package not in allowed:
            missing.setdefault((package, ""), (path, needed_by))

    for (package, _), (path, needed_by) in sorted(missing.items()):
        if package:
            print(f"install list: {package} is missing from {script} (no listed package depends "
                  f"on it): {path}, needed by {needed_by}")
        else:
            print(f"install list: no installed Debian package provides {path}, needed by {needed_by}")
    if missing:
        return 1
    print(f"install list: {len(listed)} packages provide the {len(needs)} libraries, headers, "
          f"programs and modules that {build_dir} uses")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
