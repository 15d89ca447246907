// What every page shares: pictures, each in a module instance of its own,
// the community table, the clock's choice, the address parameters and the
// PNG file of a picture.
'use strict';

const Tintwalk = (() => {
  // The saver's frame period and the largest side of a picture, as the
  // module defines them; read from the first module instance.
  const facts = { framePeriodMs: 0, maxSide: 0 };

  // The site works offline after one visit: a service worker keeps its
  // files (sw.js). Where there is none (a file: address), it runs online only.
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

  // The module is compiled once; every picture instantiates it afresh, so
  // that each has its own habitat, bots and random generator.
  let compiled = null;
  function compileModule() {
    if (!compiled) {
      compiled = fetch('tintwalk-core.wasm').then((response) => {
        if (!response.ok) throw new Error(`tintwalk-core.wasm: ${response.status}`);
        return response.arrayBuffer();
      }).then((bytes) => WebAssembly.compile(bytes));
    }
    return compiled;
  }

  // The simulation's progress lines are kept for a look in the debugger
  // (Tintwalk.log), not written to the console.
  const log = [];
  function keepLine(line) {
    if (log.length >= 200) log.shift();
    log.push(line);
  }

  class Picture {
    constructor(module) {
      this.module = module;
      this.width = 0;
      this.height = 0;
      this.row = -1;
      this.seed = 0;
      this.ticks = 0;
      this.image = null;
    }

    // 1: started; 0: not enough memory; -1: no such row or size.
    start(row, seed, width, height) {
      this.image = null;
      const status = this.module._tw_start(row, seed >>> 0, width, height);
      if (status !== 1) return status;
      Object.assign(this, { row, seed: seed >>> 0, width, height, ticks: 0 });
      return 1;
    }

    stop() {
      this.module._tw_stop();
      this.image = null;
    }

    tick(count) {
      this.module._tw_ticks(count);
      this.ticks += count;
    }

    // The bytes of memory the module instance has grown to.
    memoryBytes() {
      return this.module.HEAPU8.buffer.byteLength;
    }

    stepsPerTick() {
      return this.module._tw_steps_per_tick();
    }

    // The canvas buffer as ImageData over the module's memory (no copy).
    // Memory grows only while a picture starts, so the view stays valid.
    imageData() {
      if (!this.image) {
        const pixels = new Uint8ClampedArray(this.module.HEAPU8.buffer, this.module._tw_rgba(),
                                             this.width * this.height * 4);
        this.image = new ImageData(pixels, this.width, this.height);
      }
      return this.image;
    }

    // The picture as the renderer's PNG file, byte for byte.
    png() {
      const rgb = this.module.HEAPU8.subarray(this.module._tw_rgb());
      return encodePng(rgb, this.width, this.height);
    }
  }

  async function createPicture() {
    const wasm = await compileModule();
    const module = await createTintwalk({
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm));
        return {};
      },
      print: keepLine,
      printErr: keepLine,
    });
    if (!facts.maxSide) {
      facts.framePeriodMs = module._tw_frame_period_ms();
      facts.maxSide = module._tw_max_side();
    }
    return new Picture(module);
  }

  function readName(module, row) {
    const heap = module.HEAPU8;
    let at = module._tw_community_name(row);
    let name = '';
    while (heap[at] !== 0) name += String.fromCharCode(heap[at++]);
    return name;
  }

  // The ten communities in preset order: name and background as CSS colour.
  function communities(picture) {
    const module = picture.module;
    const list = [];
    for (let row = 0; row < module._tw_community_count(); ++row) {
      const rgb = module._tw_community_background(row);
      list.push({
        row,
        name: readName(module, row),
        background: `rgb(${rgb >>> 16}, ${(rgb >>> 8) & 255}, ${rgb & 255})`,
      });
    }
    return list;
  }

  // The row and seed that the clock chooses now, as the saver does.
  function clockChoice(picture) {
    const seconds = Math.floor(Date.now() / 1000);
    return { row: picture.module._tw_row_from_time(seconds),
             seed: picture.module._tw_seed_from_time(seconds) };
  }

  // A community by name or by its index "0".."9"; -1 for none.
  function findCommunity(picture, text) {
    const module = picture.module;
    const buffer = module._tw_text_buffer();
    const bytes = new TextEncoder().encode(text);
    // The module's buffer holds 64 bytes; no name is that long, and a zero
    // byte would end the text early.
    if (bytes.length >= 64 || bytes.includes(0)) return -1;
    module.HEAPU8.set(bytes, buffer);
    module.HEAPU8[buffer + bytes.length] = 0;
    return module._tw_find_community();
  }

  // Decimal digits only, up to `limit`; null otherwise.
  function parseDecimal(text, limit) {
    if (!/^[0-9]{1,10}$/.test(text)) return null;
    const value = Number(text);
    return value <= limit ? value : null;
  }

  // "WIDTHxHEIGHT" with each side from 1 to the largest; null otherwise.
  function parseSize(text) {
    const match = /^([0-9]{1,5})x([0-9]{1,5})$/.exec(text);
    if (!match) return null;
    const width = Number(match[1]);
    const height = Number(match[2]);
    if (width < 1 || height < 1 || width > facts.maxSide || height > facts.maxSide) return null;
    return { width, height };
  }

  // Whether the pointer moved from `anchor` to `now` (CSS pixels) far enough
  // to end the saver, judged as the savers judge it.
  function pointerTravelWakes(picture, anchor, now) {
    return picture.module._tw_pointer_travel_wakes(anchor.x, anchor.y, now.x, now.y) === 1;
  }

  const crcTable = (() => {
    const table = new Uint32Array(256);
    for (let n = 0; n < 256; ++n) {
      let c = n;
      for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table[n] = c >>> 0;
    }
    return table;
  })();

  function crc32(bytes, crc = 0xffffffff) {
    for (let i = 0; i < bytes.length; ++i) crc = crcTable[(crc ^ bytes[i]) & 255] ^ (crc >>> 8);
    return crc;
  }

  // The renderer writes its PNG with libpng's fast setting: IHDR, sRGB
  // (perceptual), rows without filters compressed by zlib at level 3 with
  // the smallest window that covers a small image, IDAT chunks of 8192
  // bytes, IEND. pako is a faithful port of zlib, so the same settings give
  // the same bytes. `rgb` holds the habitat's rows, bottom row first.
  function encodePng(rgb, width, height) {
    const stride = width * 3;
    const raw = new Uint8Array((stride + 1) * height);
    for (let y = 0; y < height; ++y) {
      const from = (height - 1 - y) * stride;
      raw.set(rgb.subarray(from, from + stride), y * (stride + 1) + 1);
    }
    let windowBits = 15;
    if (raw.length <= 16384) {
      let half = 1 << (windowBits - 1);
      while (raw.length + 262 <= half) {
        half >>= 1;
        --windowBits;
      }
    }
    if (windowBits === 8) windowBits = 9;
    const stream = pako.deflate(raw, { level: 3, windowBits, memLevel: 8, strategy: 0 });
    // Then the stream's header names the smallest window the image needs,
    // down to 256 bytes, with its check bits made good again.
    if (raw.length <= 16384 && (stream[0] & 0x0f) === 8 && (stream[0] & 0xf0) <= 0x70) {
      let info = stream[0] >> 4;
      let half = 1 << (info + 7);
      if (raw.length <= half) {
        do {
          half >>= 1;
          --info;
        } while (info > 0 && raw.length <= half);
        stream[0] = (stream[0] & 0x0f) | (info << 4);
        const flags = stream[1] & 0xe0;
        stream[1] = flags + 0x1f - ((stream[0] << 8) + flags) % 0x1f;
      }
    }

    const chunks = [];
    const chunk = (type, data) => {
      const bytes = new Uint8Array(12 + data.length);
      const view = new DataView(bytes.buffer);
      view.setUint32(0, data.length);
      for (let i = 0; i < 4; ++i) bytes[4 + i] = type.charCodeAt(i);
      bytes.set(data, 8);
      view.setUint32(8 + data.length, (crc32(bytes.subarray(4, 8 + data.length)) ^ 0xffffffff) >>> 0);
      chunks.push(bytes);
    };
    const header = new Uint8Array(13);
    new DataView(header.buffer).setUint32(0, width);
    new DataView(header.buffer).setUint32(4, height);
    header.set([8, 2, 0, 0, 0], 8); // 8 bits per channel, RGB, deflate, no filter method, no interlace
    chunks.push(new Uint8Array([137, 80, 78, 71, 13, 10, 26, 10]));
    chunk('IHDR', header);
    chunk('sRGB', new Uint8Array([0]));
    for (let at = 0; at < stream.length; at += 8192) chunk('IDAT', stream.subarray(at, at + 8192));
    chunk('IEND', new Uint8Array(0));
    return new Blob(chunks, { type: 'image/png' });
  }

  return {
    get kFramePeriodMs() { return facts.framePeriodMs; },
    // One minute of saver time, as the renderer counts it.
    get kTicksPerMinute() { return Math.floor(60000 / facts.framePeriodMs); },
    get kMaxSide() { return facts.maxSide; },
    log, createPicture, communities, clockChoice, findCommunity, parseDecimal, parseSize,
    pointerTravelWakes,
  };
})();
