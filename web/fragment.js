// SPDX-License-Identifier: MIT
// The address's fragment as parameters, "#name=value&name=value": read without ever
// throwing (a piece that does not parse is left out), and written back with the page's own
// parameters set and every other one kept where it was. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZBVFragment: {
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

    // The fragment (with its '#', or '' for none) after setting these parameters, given as
    // [[name, value], ...]: a value of '' removes the parameter, a new one goes at the end.
    write: function(hash, changes) {
      var pairs = ZBVFragment.parse(hash), done = {};
      function encode(text) {
        return encodeURIComponent(text).replace(/%2C/g, ',');
      }
      var out = [];
      pairs.forEach(function(pair) {
        for (var i = 0; i < changes.length; ++i) {
          if (changes[i][0] === pair[0]) {
            if (!done[pair[0]] && changes[i][1] !== '') out.push([pair[0], changes[i][1]]);
            done[pair[0]] = true;
            return;
          }
        }
        out.push(pair);
      });
      changes.forEach(function(change) {
        if (!done[change[0]] && change[1] !== '') out.push(change);
      });
      if (out.length === 0) return '';
      return '#' + out.map(function(p) { return encode(p[0]) + '=' + encode(p[1]); }).join('&');
    },

    // The address given this fragment, in place of the current entry of the history (no new
    // one); where the browser will not rewrite it (a sandboxed frame), it stays as it is.
    replace: function(hash) {
      if (hash === location.hash) return;
      try {
        history.replaceState(history.state, '', location.href.split('#')[0] + hash);
      } catch (e) {
        // the address is not the page's to change
      }
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
