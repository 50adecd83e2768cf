// SPDX-License-Identifier: MIT
// The address's fragment as parameters, "#name=value&name=value": read without ever
// throwing (a piece that does not parse is left out), and written back with the page's own
// parameters set, in their order, and every other one kept where it was. Linked into the page
// with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvFragment: {
    // The fragment the page last read or wrote: any other in the address is an edit the page
    // has not taken in yet.
    known: null,

    // [[name, value], ...] in the fragment's order; pieces with no name, no '=' or a value
    // that does not decode are left out.
    parse: function(hash) {
      var pairs = [];
      String(hash || '').replace(/^#/, '').split('&').forEach(function(piece) {
        var at = piece.indexOf('=');
        if (at <= 0) return;
        try {
          pairs.push([decodeURIComponent(piece.slice(0, at)),
                      decodeURIComponent(piece.slice(at + 1))]);
        } catch (e) {
          // a malformed escape: not a parameter
        }
      });
      return pairs;
    },

    // The value of the first parameter with this name, or null.
    get: function(pairs, name) {
      for (var i = 0; i < pairs.length; ++i) {
        if (pairs[i][0] === name) return pairs[i][1];
      }
      return null;
    },

    // The fragment (with its '#', or '' for none) that names `own`, [[name, value], ...] in
    // their order ('' for a parameter that is left out), with every other parameter of `hash`
    // kept: the own ones together where the first of them stood, else at the end.
    write: function(hash, own) {
      var names = own.map(function(p) { return p[0]; }), out = [], at = -1;
      ZbvFragment.parse(hash).forEach(function(pair) {
        if (names.indexOf(pair[0]) < 0) out.push(pair);
        else if (at < 0) at = out.length;
      });
      var mine = own.filter(function(p) { return p[1] !== ''; });
      out.splice.apply(out, [at < 0 ? out.length : at, 0].concat(mine));
      if (out.length === 0) return '';
      return '#' + out.map(function(p) {
        return encodeURIComponent(p[0]) + '=' + encodeURIComponent(p[1]).replace(/%2C/g, ',');
      }).join('&');
    },

    // Whether the address holds a fragment the page has not read or written itself.
    edited: function() {
      return location.hash !== ZbvFragment.known;
    },

    // The fragment as read now: what the page shows from here on.
    read: function() {
      ZbvFragment.known = location.hash;
      return ZbvFragment.parse(location.hash);
    },

    // The address given this fragment, in place of the current entry of the history (no new
    // one); where the browser will not rewrite it (a sandboxed frame), it stays as it is.
    replace: function(hash) {
      if (hash !== location.hash) {
        try {
          history.replaceState(history.state, '', location.href.split('#')[0] + hash);
        } catch (e) {
          // the address is not the page's to change
        }
      }
      ZbvFragment.known = location.hash;
    },

    // The keys a "keys" value names, given the keys of each group in their order (['12',
    // '34', '567']): at most one key a group, groups in that order. Null when malformed.
    keys: function(value, groups) {
      var out = [], group = 0;
      for (var i = 0; i < value.length; ++i) {
        while (group < groups.length && groups[group].indexOf(value[i]) < 0) ++group;
        if (group === groups.length) return null;
        out.push(value[i]);
        ++group;
      }
      return out;
    },
  },
});
