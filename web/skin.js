// The skin's files: from the site's pack when it holds them (one download
// for all; names match whatever their letter case), else fetched one by one.
// The pack's layout is written by pack_skin.mjs.

// A file the page could not download; its message names the file.
export class DownloadError extends Error {}

export async function download(path) {
  let response;
  try {
    response = await fetch(path);
  } catch (e) {
    throw new DownloadError(`The Zarvik could not download ${path} (no connection). Check your connection, then reload the page.`);
  }
  if (!response.ok)
    throw new DownloadError(`The Zarvik could not download ${path} (${response.status} ${response.statusText}). Check your connection, then reload the page.`);
  return response;
}

function damagedPack(why) {
  return new Error(`The skin (skin.pack) is damaged: ${why}. Reload the page; if this message comes back, the site needs to be built again.`);
}

// The pack, or null when the site has none. The pictures start decoding at
// once, while the module is still starting.
export async function loadPack() {
  const response = await fetch('skin.pack').catch(() => null);
  if (!response || response.status === 404) return null;
  if (!response.ok) await download('skin.pack');  // throws its message
  const buffer = await response.arrayBuffer();
  let index, bytes;
  try {
    const length = new DataView(buffer).getUint32(0, true);
    index = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, length)));
    bytes = new Uint8Array(buffer, 4 + length);
  } catch (e) {
    throw damagedPack(`its index cannot be read (${e.message})`);
  }
  for (const [name, [offset, size]] of Object.entries(index))
    if (!(offset >= 0 && size >= 0 && offset + size <= bytes.length)) throw damagedPack(`${name} is cut short`);
  const bitmaps = new Map();
  for (const [name, [offset, size]] of Object.entries(index))
    if (!name.endsWith('.wav')) {
      const decoding = createImageBitmap(new Blob([bytes.subarray(offset, offset + size)]));
      decoding.catch(() => {});  // reported when the picture is asked for
      bitmaps.set(name, decoding);
    }
  return { index, bytes, bitmaps };
}

export function createSkin(pack) {
  async function file(path) {
    const entry = pack?.index[path.toLowerCase()];
    if (entry) return pack.bytes.subarray(entry[0], entry[0] + entry[1]);
    return new Uint8Array(await (await download(path)).arrayBuffer());
  }

  // A picture decoded by the browser. PNG and icons bring their own alpha.
  // A bitmap or JPEG is see-through where it has the skin's key colour (which
  // the desktop program's window shows as a hole) and, in any image but a
  // button, where it has the colour of its bottom-left pixel (white for a
  // two-colour bitmap).
  async function picture(path, keyColour, opaque) {
    const bytes = await file(path);
    let bitmap;
    try {
      bitmap = await (pack?.bitmaps.get(path.toLowerCase()) || createImageBitmap(new Blob([bytes])));
    } catch (e) {
      throw new Error('it is damaged or not a picture');
    }
    const isBitmap = bytes[0] === 0x42 && bytes[1] === 0x4d;
    const isJpeg = bytes[0] === 0xff && bytes[1] === 0xd8;
    if (!isBitmap && !isJpeg) return bitmap;
    const work = document.createElement('canvas');
    work.width = bitmap.width;
    work.height = bitmap.height;
    const g = work.getContext('2d', { willReadFrequently: true });
    g.drawImage(bitmap, 0, 0);
    const pixels = g.getImageData(0, 0, work.width, work.height);
    const d = pixels.data;
    const keys = [[keyColour >> 16 & 255, keyColour >> 8 & 255, keyColour & 255]];
    if (!opaque) {
      const twoColour = isBitmap && bytes.length > 29 && (bytes[28] | bytes[29] << 8) === 1;
      const corner = (work.height - 1) * work.width * 4;
      keys.push(twoColour ? [255, 255, 255] : [d[corner], d[corner + 1], d[corner + 2]]);
    }
    for (let i = 0; i < d.length; i += 4)
      for (const [r, gr, b] of keys)
        if (d[i] === r && d[i + 1] === gr && d[i + 2] === b) d[i + 3] = 0;
    g.putImageData(pixels, 0, 0);
    return work;
  }

  return { file, picture };
}
