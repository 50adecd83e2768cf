#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The facts that the checkers, the page and its build share, each written in one place, made
into what each reads (KIND):

  header   scene_facts.h, scene/facts.json for the tests, gallery and benchmarks (its types
           in scene/scene_types.h);
  probe    $ZbvHistoryLayout, the pixel history's fields as web/probe/pixel_history.h lists
           them (ZBV_HISTORY_<RECORD>(F), an F(name) a field), for the probe layer;
  page     $ZbvFacts for the page: the keys, the frame's draws, the languages (the catalogues
           present: English, then by each one's "languageOrder", its place, not a word), the
           page state's fields (ZBV_PAGE_STATE in page_state.cpp) and the history's;
  buttons  the key buttons, which the assembly (assemble_page.py) puts into the shell.

usage: facts.py [--facts FILE] [--words DIR] KIND OUT (OUT '-': the standard output)"""
import argparse
import html
import json
import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
HISTORY = os.path.join(ROOT, 'web', 'probe', 'pixel_history.h')
PAGE_STATE = os.path.join(ROOT, 'web', 'page', 'page_state.cpp')
# The page's name for each switch a key sets.
GROUPS = {'depthTest': 'depth', 'lighting': 'lighting', 'light': 'light'}


def fail(message):
    sys.exit(f'facts.py: {message}')


def read(path):
    with open(path, encoding='utf-8') as f:
        try:
            return json.load(f)
        except ValueError as e:
            fail(f'{path}: {e}')


def members(table):
    return [(name, value) for name, value in table.items() if name != 'about']


def vector(xs):
    return '{' + ', '.join(repr(x) for x in xs) + '}'


def constant(name):  # "teapot1Front" -> "kTeapot1Front"
    return 'k' + name[0].upper() + name[1:]


def array(kind, name, items):
    return f'inline constexpr {kind} {name}[] = {{\n' + ''.join(f'    {i},\n' for i in items) + '};'


def named(kind, pairs):  # "inline constexpr double kA = 1,\n    kB = 2;"
    return f'inline constexpr {kind} ' + ',\n    '.join(n + v for n, v in pairs) + ';'


def key_table(facts):
    """Each key as the page's buttons hold it: {key, group, value}, the value 'on', 'off' or the
    light that alone shines. A key sets one switch."""
    names, table = [light['name'] for light in facts['lights']], []
    for key, sets in members(facts['keys']):
        if len(key) != 1 or len(sets) != 1 or next(iter(sets)) not in GROUPS:
            fail(f'key "{key}": a key is one character and sets one of {", ".join(GROUPS)}')
        (switch, value), = sets.items()
        if switch == 'light' and value not in names:
            fail(f'key {key}: "{value}" is no light of "lights"')
        table.append({'key': key, 'group': GROUPS[switch],
                      'value': value if switch == 'light' else {True: 'on', False: 'off'}[value]})
    return table


def header(facts):
    cam, floor, lights = facts['camera'], facts['floor'], facts['lights']
    formats, q = {'16': 'kInt16', '24': 'kInt24', '32f': 'kFloat32'}, json.dumps  # C++ strings
    values = dict({'on': 1, 'off': 0}, **{light['name']: i for i, light in enumerate(lights)})

    def preset(p):
        if p['depth'] not in formats:
            fail(f'lab preset {p["file"]}: depth "{p["depth"]}" is not 16, 24 or 32f')
        return (f'{{{q(p["file"])}, {{{repr(p["near"])}, {repr(p["far"])}}}, '
                f'DepthFormat::{formats[p["depth"]]}, {q(p["shows"])}}}')
    keys = ["{'%s', %s}" % (k['key'], ', '.join(str(values[k['value']] if k['group'] == g else -1)
                                                for g in GROUPS.values())) for k in key_table(facts)]
    landmarks = members(facts['landmarks'])
    return f'''// SPDX-License-Identifier: MIT
// Made by the build (web/page/facts.py) from scene/facts.json: edit that file, not this one.
// The scene as the checkers know it, independently of the viewer's own literals; what each
// value means is said in scene_types.h.
#ifndef SCENE_FACTS_H
#define SCENE_FACTS_H

#include "scene_types.h"

namespace zbv::facts {{

inline constexpr int kWidth = {facts['window']['width']}, kHeight = {facts['window']['height']};
inline constexpr Vec3 kEye{vector(cam['eye'])}, kTarget{vector(cam['target'])}, \
kUp{vector(cam['up'])};
inline constexpr double kFovyDegrees = {repr(cam['fovyDegrees'])}, \
kNear = {repr(cam['near'])}, kFar = {repr(cam['far'])};
inline constexpr Planes kPlanes{{kNear, kFar}};
inline constexpr Colour kBackground{vector(facts['background'])};
inline constexpr Vec3 kLightPosition{vector(facts['lightPosition'])};
inline constexpr double kGlobalAmbient = {repr(facts['globalAmbient'])};
{array('Light', 'kLights', [f'{{{q(l["name"])}, {vector(l["colour"])}}}' for l in lights])}
{named('Colour', [(constant(l['name']), f' = kLights[{i}].colour') for i, l in enumerate(lights)])}
inline constexpr Floor kFloor{{{repr(floor['y'])}, {repr(floor['halfSize'])}, \
{vector(floor['colour'])}}};
{array('Teapot', 'kTeapots', [f'{{{q(t["name"])}, {vector(t["at"])}, {repr(t["size"])}, '
                              f'{vector(t["colour"])}}}' for t in facts['teapots']])}
{named('double', [(constant(n), ' = ' + repr(v)) for n, v in members(facts['tolerance'])])}
{array('Stop', 'kTour', ['{%s, %s, %s}' % (q(s['file']), repr(s['key']) if s['key'] else 0,
                                           q(s['shows'])) for s in facts['tour']])}
inline constexpr int kTourLength = sizeof kTour / sizeof kTour[0];
inline constexpr int kStripStops[] = {vector(facts['stripStops'])};
{array('Key', 'kKeys', keys)}
constexpr Key keyEffect(char c) {{
  for (const Key& k : kKeys)
    if (k.key == c) return k;
  return {{c, -1, -1, -1}};
}}
{array('const char*', 'kDrawFiles', [q(f) for f in facts['draws']['files']])}
inline constexpr int kDraws = sizeof kDrawFiles / sizeof kDrawFiles[0];
{array('LabPreset', 'kLabPresets', [preset(p) for p in facts['lab']['presets']])}
{named('Point', [(constant(n), vector(at)) for n, at in landmarks])}
{array('Landmark', 'kLandmarks', [f'{{{q(n)}, {constant(n)}}}' for n, _ in landmarks])}

}}  // namespace zbv::facts

#endif  // SCENE_FACTS_H
'''


def buttons(facts):
    return '\n'.join(
        '<button type="button" data-key="{key}" data-group="{group}" data-value="{value}">'
        '<span data-w="key.{key}" data-w-key="{key}"></span></button>'.format(
            **{n: html.escape(v) for n, v in b.items()}) for b in key_table(facts))


def languages(words_dir):
    """[(tag, words)], a catalogue of words_dir (tag.json) each, in the page's order."""
    catalogues = {name[:-5]: read(os.path.join(words_dir, name))
                  for name in sorted(os.listdir(words_dir)) if name.endswith('.json')}
    english = catalogues.get('en')
    if not isinstance(english, dict) or 'languageOrder' not in english:
        fail(f'{words_dir}/en.json: no catalogue of English, with its languageOrder')
    for tag, words in catalogues.items():
        if not isinstance(words, dict) or list(words) != list(english):
            fail(f'{words_dir}/{tag}.json: its words are not those of en.json, in its order')
        if type(words['languageOrder']) is not int:
            fail(f'{words_dir}/{tag}.json: its languageOrder is not a whole number')
    order = sorted(catalogues, key=lambda tag: (tag != 'en', catalogues[tag]['languageOrder']))
    if len({catalogues[tag]['languageOrder'] for tag in order}) != len(order):
        fail(f'{words_dir}: two catalogues have the same languageOrder')
    return [(tag, {k: v for k, v in catalogues[tag].items() if k != 'languageOrder'})
            for tag in order]


def field_lists(path, prefix):
    """{name: [field, ...]} for each "#define <prefix><name>(F)" of the file: the F(field) items
    of its body, whatever they are, in order."""
    with open(path, encoding='utf-8') as f:
        text = f.read()
    lists = {m.group(1): re.findall(r'\bF\((\w+)\)', m.group(2)) for m in re.finditer(
        r'^#define ' + prefix + r'(\w*)\(F\)((?:.*\\\n)*.*)', text, re.M)}
    if not lists or not all(lists.values()):
        fail(f'{path}: no list of fields "#define {prefix}...(F) F(name) ..."')
    return lists


def library(name, fields, made_from, deps=(), postset=''):
    """A --js-library file that defines $name, an object of these fields."""
    items = [f'  ${name}__deps: {json.dumps(list(deps))},\n'] if deps else []
    items += [f'  ${name}__postset: {json.dumps(postset)},\n'] if postset else []
    items += [f'  ${name}: {{\n'] + [f'    {k}: {json.dumps(v)},\n' for k, v in fields.items()]
    return (f'// SPDX-License-Identifier: MIT\n// Made by the build (web/page/facts.py) from '
            f'{made_from}:\n// edit the sources, not this file. Linked into the page with --js-library.\n'
            'mergeInto(LibraryManager.library, {\n' + ''.join(items) + '  },\n});\n')


def made(kind, facts, words_dir):
    if kind == 'header':
        return header(facts)
    if kind == 'buttons':
        return buttons(facts) + '\n'
    if kind == 'probe':
        history = field_lists(HISTORY, 'ZBV_HISTORY_')
        return library('ZbvHistoryLayout', {k.lower(): v for k, v in history.items()},
                       'web/probe/pixel_history.h')
    # The page's history is the probe layer's object, set beside it once both are defined.
    return library('ZbvFacts', {
        'keys': key_table(facts), 'draws': facts['draws']['files'],
        'landmarks': dict(members(facts['landmarks'])),
        'languages': [tag for tag, _ in languages(words_dir)],
        'pageState': field_lists(PAGE_STATE, 'ZBV_PAGE_STATE')['']},
        'scene/facts.json, page_state.cpp and words/',
        ['$ZbvHistoryLayout'], 'ZbvFacts.history = ZbvHistoryLayout')


def main():
    parser = argparse.ArgumentParser(usage=__doc__.rsplit('usage: ', 1)[1])
    parser.add_argument('--facts', default=os.path.join(ROOT, 'scene', 'facts.json'))
    parser.add_argument('--words', default=os.path.join(ROOT, 'web', 'page', 'words'))
    parser.add_argument('kind', choices=['header', 'probe', 'page', 'buttons'])
    parser.add_argument('out')
    args = parser.parse_args()
    try:
        text = made(args.kind, read(args.facts), args.words)
    except (KeyError, TypeError, ValueError) as e:
        fail(f'{args.facts}: {type(e).__name__}: {e}')
    if args.out == '-':
        return sys.stdout.write(text)
    if os.path.exists(args.out):
        with open(args.out, encoding='utf-8') as f:
            if f.read() == text:
                return  # as it was: what depends on it is not made again
    with open(args.out, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)


if __name__ == '__main__':
    main()
