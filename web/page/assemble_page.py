#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Puts the page together: the shell, the program's script inside it, and its WebAssembly
as base64 in an element of its own, which the browser's HTML parser passes over and the
script decodes at once (shell.html). The script is written in ASCII alone: a single other
character would make the browser hold the whole script, and scan it, in two bytes a character.
The shell's indentation and its style sheet's spacing are left out: they show nothing.

The page's words: English as it is, in an element of its own; every other language as the
list of its words in English's order, all of them in one element, compressed together (raw
DEFLATE, which the page opens with the browser's own decompression) and as base64, with the
languages' tags and names beside it.

usage: assemble_page.py SHELL SCRIPT WASM WORDS OUT (WORDS: the folder of catalogues, one
language each, en.json the source)"""
import base64
import json
import os
import re
import sys
import zlib

# The languages the page speaks, in the order its control lists them.
LANGUAGES = ['en', 'es', 'fr', 'de', 'pt-BR', 'zh-Hans']


def escape(c):
    code = ord(c)
    if code < 0x10000:
        return '\\u%04x' % code
    code -= 0x10000
    return '\\u%04x\\u%04x' % (0xd800 + (code >> 10), 0xdc00 + (code & 0x3ff))


def tighten(shell):
    """The shell without what shows nothing: each run of white space in its markup is one
    line break (a browser shows any such run as one space, or none between blocks), and its
    style sheet without the spaces around its punctuation. The page has no <pre>."""
    def style(m):
        css = re.sub(r'/\*.*?\*/', '', m.group(2), flags=re.S)
        css = re.sub(r'\s+', ' ', css)
        css = re.sub(r' ?([{};,>]) ?', r'\1', css)
        return m.group(1) + css.strip() + m.group(3)
    shell = re.sub(r'(<style>)(.*?)(</style>)', style, shell, flags=re.S)
    # Outside scripts and the style sheet, already done.
    parts = re.split(r'(<script.*?</script>|<style>.*?</style>)', shell, flags=re.S)
    return ''.join(part if part.startswith(('<script', '<style>')) else
                   re.sub(r'\s*\n\s*', '\n', part) for part in parts)


def json_text(words):
    """A catalogue as JSON that cannot end its script element."""
    return json.dumps(words, ensure_ascii=False, separators=(',', ':')).replace('<', '\\u003c')


def words_elements(words_dir):
    catalogues = {}
    for lang in LANGUAGES:
        path = os.path.join(words_dir, lang + '.json')
        if os.path.exists(path):
            with open(path, encoding='utf-8') as f:
                catalogues[lang] = json.load(f)
    english = catalogues['en']
    others = [lang for lang in catalogues if lang != 'en']
    for lang in others:
        if list(catalogues[lang]) != list(english):
            sys.exit(f'{words_dir}/{lang}.json: its words are not those of en.json, in its order')
    deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
    packed = deflate.compress(json_text([[catalogues[lang][k] for k in english] for lang in others])
                              .encode('utf-8')) + deflate.flush()
    def attribute(text):
        return text.replace('&', '&amp;').replace('"', '&quot;')
    names = ','.join(attribute(catalogues[lang]['language']) for lang in catalogues)
    return (f'<script type="application/json" id="words-en">{json_text(english)}</script>\n'
            f'<script type="application/octet-stream" id="words" data-langs="{",".join(catalogues)}" '
            f'data-names="{names}">{base64.b64encode(packed).decode("ascii")}</script>')


def main(shell_path, script_path, wasm_path, words_dir, out_path):
    with open(shell_path, encoding='utf-8') as f:
        shell = tighten(f.read())
    with open(script_path, encoding='utf-8') as f:
        # Only string literals hold other characters, and \uXXXX means the same there.
        script = ''.join(c if ord(c) < 128 else escape(c) for c in f.read())
    with open(wasm_path, 'rb') as f:
        program = base64.b64encode(f.read()).decode('ascii')
    if '</script' in script.lower():
        sys.exit(f'{script_path}: the script holds "</script", which would end it early')
    for mark in ('{{{ PROGRAM }}}', '{{{ SCRIPT }}}', '{{{ WORDS }}}'):
        if shell.count(mark) != 1:
            sys.exit(f'{shell_path}: {mark} must appear once')
    page = shell.replace('{{{ WORDS }}}', words_elements(words_dir)).replace(
        '{{{ PROGRAM }}}', program).replace(
        '{{{ SCRIPT }}}', '<script>\n' + script + '</script>')
    with open(out_path, 'w', encoding='utf-8', newline='\n') as f:
        f.write(page)


if __name__ == '__main__':
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
