// The picture on the page: one canvas, or a grid of canvases where a side
// is longer than a browser lets one canvas be (the picture's largest side
// is 32,768; Chromium's canvas stops at 32,767). The first canvas is the
// one in the page, #picture; the others are made beside it as needed.
'use strict';

const TintwalkTiles = (() => {
  // Chromium's limits of one canvas.
  const kMaxCanvasSide = 32767;
  const kMaxCanvasArea = 268435456;

  class Tiles {
    constructor(first) {
      this.grid = first.parentElement;
      this.tiles = [{ canvas: first, context: first.getContext('2d', { alpha: false }), x: 0, y: 0 }];
    }

    // Lays out canvases for a width x height picture, each cell one device
    // pixel at `scale` device pixels per CSS pixel; false when a canvas
    // cannot be had (then one canvas of 1 x 1 is left).
    lay(width, height, scale) {
      const columns = Math.ceil(width / kMaxCanvasSide);
      const rows = Math.ceil(height / kMaxCanvasSide);
      const tileWidth = Math.ceil(width / columns);
      const tileHeight = Math.ceil(height / rows);
      if (tileWidth * tileHeight > kMaxCanvasArea) return false;
      for (const extra of this.tiles.splice(1)) extra.canvas.remove();
      for (let row = 0; row < rows; ++row) {
        for (let column = 0; column < columns; ++column) {
          let tile = this.tiles[0];
          if (row || column) {
            const canvas = document.createElement('canvas');
            canvas.setAttribute('aria-hidden', 'true');
            this.grid.append(canvas);
            tile = { canvas, context: canvas.getContext('2d', { alpha: false }) };
            this.tiles.push(tile);
          }
          tile.x = column * tileWidth;
          tile.y = row * tileHeight;
          const canvas = tile.canvas;
          canvas.width = Math.min(tileWidth, width - tile.x);
          canvas.height = Math.min(tileHeight, height - tile.y);
          canvas.dataset.x = tile.x;
          canvas.dataset.y = tile.y;
          canvas.style.width = `${canvas.width / scale}px`;
          canvas.style.height = `${canvas.height / scale}px`;
          if (canvas.width !== Math.min(tileWidth, width - tile.x)) {
            this.clear();
            return false;
          }
        }
      }
      this.grid.style.gridTemplateColumns = `repeat(${columns}, auto)`;
      return true;
    }

    // Shows the picture's ImageData; throws when the canvas refuses it.
    show(image) {
      if (this.tiles.length === 1) {
        this.tiles[0].context.putImageData(image, 0, 0);
        return;
      }
      for (const { canvas, context, x, y } of this.tiles)
        context.putImageData(image, -x, -y, x, y, canvas.width, canvas.height);
    }

    // Back to one canvas of 1 x 1.
    clear() {
      for (const extra of this.tiles.splice(1)) extra.canvas.remove();
      this.tiles[0].canvas.width = 1;
      this.tiles[0].canvas.height = 1;
      this.grid.style.gridTemplateColumns = '';
    }
  }

  return { Tiles };
})();
