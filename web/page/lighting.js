// SPDX-License-Identifier: MIT
// Where a pixel's colour comes from, for the panel: the clear colour, the current colour as it
// stands with lighting off, or lit: the lighting terms at the three vertices of the triangle
// that wrote it, weighted as the pixel's place on it weighs them. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLighting__deps: ['$ZbvWords', '$ZbvTable'],
  $ZbvLighting: {
    // writer: {draw (its record), id (the draw's name in the words), fragment}, or null where
    // nothing wrote.
    explain: function(writer) {
      var T = ZbvTable, W = ZbvWords, box = document.getElementById('pixel-lighting'), parts = [];
      var para = function(text) {
        var p = document.createElement('p');
        p.textContent = text;
        parts.push(p);
        return p;
      };
      if (!writer) {
        para(W.t('lighting.none'));
      } else if (!writer.draw.lighting) {
        para(W.t('lighting.off', {draw: writer.id, n: String(writer.n),
                                  colour: T.colour(T.rgb(writer.fragment))}));
      } else {
        var f = writer.fragment, result = [0, 0, 0];
        para(W.t('lighting.on', {draw: writer.id, n: String(writer.n)})).id = 'lighting-says';
        var table = document.createElement('table'), head = document.createElement('tr');
        ['vertex', 'weight', 'ambient', 'ndotl', 'diffuse', 'colour'].forEach(function(t) {
          var th = document.createElement('th');
          th.scope = 'col';
          th.textContent = W.t('lighting.' + t);
          head.appendChild(th);
        });
        table.appendChild(head);
        f.vertices.forEach(function(v, i) {
          var ambient = T.rgb(v, 'ambient'), diffuse = T.rgb(v, 'diffuse');
          var specular = T.rgb(v, 'specular'), weight = f['weight' + i];
          var tr = document.createElement('tr'), sum = [0, 1, 2].map(function(k) {
            return Math.min(1, ambient[k] + diffuse[k] + specular[k]);
          });
          for (var k = 0; k < 3; ++k) result[k] += weight * sum[k];
          T.cell(tr, W.number(i + 1), null, true);
          T.cell(tr, W.number(weight, {digits: 4}));
          T.cell(tr, T.three(ambient));
          T.cell(tr, W.number(v.ndotl, {digits: 4}));
          T.cell(tr, T.three(diffuse));
          T.cell(tr, T.three(sum), sum);
          table.appendChild(tr);
        });
        // Wider than a phone, it scrolls in its own box (which the keyboard reaches too).
        var scroll = document.createElement('div');
        scroll.className = 'scroll';
        scroll.tabIndex = 0;
        scroll.setAttribute('role', 'region');
        scroll.setAttribute('aria-labelledby', 'lighting-says');
        scroll.appendChild(table);
        parts.push(scroll);
        para(W.t('lighting.result', {colour: T.colour(result)})).dataset.rgb =
            T.bytes(result).join(',');
      }
      box.replaceChildren.apply(box, parts);
    },
  },
});
