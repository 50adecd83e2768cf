// SPDX-License-Identifier: MIT
// Where a pixel's colour comes from, for the panel: the clear colour, the current colour as it
// stands with lighting off, or lit: the lighting terms at the three vertices of the triangle
// that wrote it, weighted as the pixel's place on it weighs them. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLighting__deps: ['$ZbvWords'],
  $ZbvLighting: {
    // writer: {draw, name, key (its word, 'draw.2'), fragment}, or null where nothing wrote.
    explain: function(writer) {
      var P = ZbvPanel, W = ZbvWords, box = document.getElementById('pixel-lighting'), parts = [];
      var para = function(text) {
        var p = document.createElement('p');
        p.textContent = text;
        parts.push(p);
        return p;
      };
      if (!writer) {
        para(W.t('lighting.none'));
      } else if (!writer.draw.lighting) {
        para(W.t('lighting.off', {draw: writer.name, colour: P.colour(P.rgb(writer.fragment))}));
      } else {
        var f = writer.fragment, result = [0, 0, 0];
        para(W.t('lighting.on', {draw: writer.name}));
        var table = document.createElement('table'), head = document.createElement('tr');
        ['vertex', 'weight', 'ambient', 'ndotl', 'diffuse', 'colour'].forEach(function(t) {
          var th = document.createElement('th');
          th.scope = 'col';
          th.textContent = W.t('lighting.' + t);
          head.appendChild(th);
        });
        table.appendChild(head);
        f.vertices.forEach(function(v, i) {
          var ambient = P.rgb(v, 'ambient'), diffuse = P.rgb(v, 'diffuse');
          var specular = P.rgb(v, 'specular'), weight = f['weight' + i];
          var tr = document.createElement('tr'), sum = [0, 1, 2].map(function(k) {
            return Math.min(1, ambient[k] + diffuse[k] + specular[k]);
          });
          for (var k = 0; k < 3; ++k) result[k] += weight * sum[k];
          P.cell(tr, String(i + 1), null, true);
          P.cell(tr, W.number(weight, 4));
          P.cell(tr, P.three(ambient));
          P.cell(tr, W.number(v.ndotl, 4));
          P.cell(tr, P.three(diffuse));
          P.cell(tr, P.three(sum), sum);
          table.appendChild(tr);
        });
        parts.push(table);
        para(W.t('lighting.result', {colour: P.colour(result)})).dataset.rgb =
            result.map(P.byte).join(',');
      }
      box.replaceChildren.apply(box, parts);
    },
  },
});
