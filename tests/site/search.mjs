// Searches a rendered site's index the way its results page does, with files
// read from disk: node search.mjs SITE WORDS prints the address of every hit.
import fs from 'node:fs';
const site = process.argv[2];
globalThis.fetch = async (url) => new Response(fs.readFileSync(new URL(url)));
const pagefind = await import(`${site}/pagefind/pagefind.js`);
await pagefind.options({ basePath: `file://${site}/pagefind/`, baseUrl: '/' });
const found = await pagefind.search(process.argv[3]);
for (const hit of found.results)
    console.log((await hit.data()).url);
