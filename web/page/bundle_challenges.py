#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The challenges' script: their --js-library files (challenge.js and the files it lists in
its __deps that are not the program's) run as one script of their own, which the page opens
only when the address names a challenge (page.js). Each file defines its objects into a
library of the script's own, as the program's link would; the objects are then made the
page's, beside the program's, which they use by name, and the challenges open. The assembly
writes it in ASCII alone, as it does the program's script (assemble_page.py).

usage: bundle_challenges.py OUT FILE..."""
import sys

HEAD = ('(function() {\n'
        'var LibraryManager = {library: {}};\n'
        'var mergeInto = function(into, members) { for (var k in members) into[k] = members[k]; };\n')
TAIL = ('var L = LibraryManager.library;\n'
        "for (var k in L) if (k.charAt(0) === '$' && k.indexOf('__') < 0) window[k.slice(1)] = L[k];\n"
        'ZbvChallenge.open();\n'
        '})();\n')


def main(out, files):
    parts = [HEAD]
    for path in files:
        with open(path, encoding='utf-8') as f:
            parts.append(f.read())
    parts.append(TAIL)
    with open(out, 'w', encoding='utf-8', newline='\n') as f:
        f.write(''.join(parts))


if __name__ == '__main__':
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
