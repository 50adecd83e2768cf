#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Puts the page together: the shell, the program's script and its WebAssembly, its English
words, and the loader that opens them. The script, the WebAssembly and English's words are
kept compressed (raw DEFLATE, in base 85) in elements the browser's HTML parser passes over,
each with its size; the loader (loader.js, shortened) inflates them as the page is read and
writes the script into the page, where it runs. The script is written in ASCII alone. The
shell's indentation and its style sheet's spacing are left out: they show nothing, and the
words the shell's elements name are put in them, English's, so that the first paint shows
them.

Every other language: the list of its words in English's order, all of them in one element,
compressed together, in base 85 (the page opens them with the browser's own decompression
when one is chosen), with the languages' tags and names beside it. The languages are the catalogues
present, in the order facts.py gives them (English first); a catalogue that does not have
English's words, in English's order, stops the assembly.

English's words for the challenges (those whose names begin "challenge.") are kept apart
from the rest, compressed in an element of their own, as the challenges' script is
(CHALLENGES, bundle_challenges.py's, shortened), both after the loader: the page opens them
only when the address names a challenge. The other languages list them after the rest.

The key buttons, from the scene's facts (facts.py), at the shell's mark {{{ KEYS }}}.

usage: assemble_page.py SHELL SCRIPT WASM LOADER WORDS FACTS OUT [CHALLENGES] (LOADER:
loader.js shortened; WORDS: the folder of catalogues, one language each, en.json the source;
FACTS: scene/facts.json)"""
import base64
import json
import re
import sys
import zlib

sys.dont_write_bytecode = True  # the build leaves the source folder as it was
import facts  # noqa: E402


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


def catalogues(words_dir):
    return dict(facts.languages(words_dir))


def packed(element_id, data, attributes=''):
    """An element the HTML parser passes over that keeps the bytes compressed, in base 85
    (loader.js opens them), with their size."""
    text = deflated85(data)
    return (f'<script type="application/octet-stream" id="{element_id}" data-size="{len(data)}"'
            f'{attributes}>{text}</script>')


def deflated85(data):
    """Raw DEFLATE of the bytes in base 85, a sixteenth smaller than base64: Python's alphabet
    (RFC 1924's) with ',' for '<', so that nothing in it can begin a tag."""
    deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
    return base64.b85encode(deflate.compress(data) + deflate.flush()).decode('ascii').replace('<', ',')


CHALLENGE_WORDS = 'challenge.'


def words_elements(words_dir):
    catalogues_ = catalogues(words_dir)
    everything = catalogues_['en']
    english = {k: v for k, v in everything.items() if not k.startswith(CHALLENGE_WORDS)}
    apart = [k for k in everything if k.startswith(CHALLENGE_WORDS)]
    others = [lang for lang in catalogues_ if lang != 'en']
    names = ','.join(attribute(catalogues_[lang]['language']) for lang in catalogues_)
    others_words = json_text([[catalogues_[lang][k] for k in list(english) + apart] for lang in others])
    return (packed('words-en', json_text(english).encode('utf-8')) + '\n' +
            f'<script type="application/octet-stream" id="words" data-langs="{",".join(catalogues_)}" '
            f'data-names="{names}">{deflated85(others_words.encode("utf-8"))}</script>')


def apart_element(words_dir):
    """English's challenge words, which only the challenges' script asks for."""
    everything = catalogues(words_dir)['en']
    apart = [k for k in everything if k.startswith(CHALLENGE_WORDS)]
    apart_words = json_text({'keys': apart, 'words': [everything[k] for k in apart]})
    return packed('words-apart', apart_words.encode('utf-8'))


def html_text(text):
    return text.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')


# An element that names its word and is empty in the shell: its opening tag, name and word.
WORD_ELEMENT = re.compile(r'(<(\w+)\b[^>]*\bdata-w="([^"]+)"[^>]*>)(</\2>)')


def english_words(shell, english):
    """The shell with English's words in place, as the first paint shows them: the text of each
    element that names a word (data-w; a key button's word has its key, data-w-key, in a
    <kbd>), and each accessible name (data-w-label). The page puts another language's in place
    of them when one is chosen."""
    def text(m):
        opening, word = m.group(1), english[m.group(3)]
        key = re.search(r'\bdata-w-key="([^"]*)"', opening)
        if key:
            before, _, after = word.partition('{key}')
            inner = html_text(before) + '<kbd>' + html_text(key.group(1)) + '</kbd>' + html_text(after)
        elif '{' in word:
            sys.exit(f'the word "{m.group(3)}" has places to fill, and an element shows it as it is')
        else:
            inner = html_text(word)
        return opening + inner + m.group(4)
    shell = WORD_ELEMENT.sub(text, shell)
    return re.sub(r'\bdata-w-label="([^"]+)"',
                  lambda m: m.group(0) + f' aria-label="{attribute(english[m.group(1)])}"', shell)


def attribute(text):
    return text.replace('&', '&amp;').replace('"', '&quot;')


def noscript(words_dir):
    """The sentence for a browser without JavaScript, in every language the page speaks."""
    out = []
    for lang, words in catalogues(words_dir).items():
        out.append(f'<p lang="{lang}">{html_text(words["noscript"])}</p>')
    return ''.join(out)


def main(shell_path, script_path, wasm_path, loader_path, words_dir, facts_path, out_path,
         challenges_path=None):
    with open(shell_path, encoding='utf-8') as f:
        shell = tighten(f.read())
    if 'data-key=' in shell:
        sys.exit(f'{shell_path}: a key button of its own; the buttons are made from the facts')
    if shell.count('{{{ KEYS }}}') != 1:
        sys.exit(f'{shell_path}: {{{{{{ KEYS }}}}}} must appear once')
    shell = english_words(shell.replace('{{{ KEYS }}}', facts.buttons(facts.read(facts_path))),
                          catalogues(words_dir)['en']).replace('{{{ NOSCRIPT }}}', noscript(words_dir))
    with open(script_path, encoding='utf-8') as f:
        # Only string literals hold other characters, and \uXXXX means the same there.
        script = ''.join(c if ord(c) < 128 else escape(c) for c in f.read())
    with open(wasm_path, 'rb') as f:
        program = f.read()
    with open(loader_path, encoding='utf-8') as f:
        loader = f.read()
    challenges = ''
    if challenges_path:
        with open(challenges_path, encoding='utf-8') as f:
            challenges = ''.join(c if ord(c) < 128 else escape(c) for c in f.read())
    for text, path in ((script, script_path), (loader, loader_path), (challenges, challenges_path)):
        if '</script' in text.lower():
            sys.exit(f'{path}: the script holds "</script", which would end it early')
    for mark in ('{{{ PROGRAM }}}', '{{{ SCRIPT }}}', '{{{ LOADER }}}', '{{{ WORDS }}}'):
        if shell.count(mark) != 1:
            sys.exit(f'{shell_path}: {mark} must appear once')
    # What the page opens only later comes after the loader, so that the parser reaches the
    # loader without passing over it first.
    later = '\n' + apart_element(words_dir)
    if challenges:
        later += '\n' + packed('challenge-script', challenges.encode('ascii'))
    page = shell.replace('{{{ WORDS }}}', words_elements(words_dir)).replace(
        '{{{ PROGRAM }}}', packed('program', program)).replace(
        '{{{ SCRIPT }}}', packed('script', script.encode('ascii'))).replace(
        '{{{ LOADER }}}', '<script>' + loader + '</script>' + later)
    with open(out_path, 'w', encoding='utf-8', newline='\n') as f:
        f.write(page)


if __name__ == '__main__':
    if len(sys.argv) not in (8, 9):
        sys.exit(__doc__)
    main(*sys.argv[1:])
