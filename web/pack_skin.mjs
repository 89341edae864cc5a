// Packs the files the page reads from the skin into one file, so that the
// page fetches one file instead of some eighty. Layout: a 4-byte little-endian
// length, a JSON index of that length ({ "graphics/skin/name.png": [offset,
// length], ... }, names in lower case, offsets from the end of the index),
// then the files' bytes as they are.
//
//   node pack_skin.mjs SKIN_DIR OUTPUT FOLDER...
import { readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [skinDir, output, ...folders] = process.argv.slice(2);
const index = {}, parts = [];
let offset = 0;
for (const folder of folders) {
  for (const name of readdirSync(join(skinDir, folder)).sort()) {
    const file = join(skinDir, folder, name);
    if (!statSync(file).isFile()) continue;
    const bytes = readFileSync(file);
    index[`${folder}/${name}`.toLowerCase()] = [offset, bytes.length];
    parts.push(bytes);
    offset += bytes.length;
  }
}
const header = Buffer.from(JSON.stringify(index));
const length = Buffer.alloc(4);
length.writeUInt32LE(header.length);
writeFileSync(output, Buffer.concat([length, header, ...parts]));
