// Serves the built site on 127.0.0.1, compressed when the browser takes
// gzip. `node site/serve.mjs DIR [PORT]` prints the address; the page tests
// import serveSite and take any free port.
import {createServer} from 'node:http';
import {readFileSync, readdirSync, statSync} from 'node:fs';
import {join, extname, relative} from 'node:path';
import {gzipSync} from 'node:zlib';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.wasm': 'application/wasm',
  '.txt': 'text/plain; charset=utf-8',
  '.data': 'application/octet-stream',
};

// Every file of the site, read and compressed once: the site is small and
// does not change while it is served.
function loadFiles(dir) {
  const files = new Map();
  const walk = (folder) => {
    for (const name of readdirSync(folder)) {
      const path = join(folder, name);
      if (statSync(path).isDirectory()) {
        walk(path);
      } else {
        const body = readFileSync(path);
        files.set('/' + relative(dir, path).split('\\').join('/'),
                  {body, gzipped: gzipSync(body, {level: 9}), type: types[extname(name)] || 'application/octet-stream'});
      }
    }
  };
  walk(dir);
  if (!files.has('/index.html')) throw new Error(dir + ' holds no index.html: build the site first (./web --build)');
  return files;
}

// Starts serving `dir` on `port` (0: any free one). Resolves to the server
// and its address.
export function serveSite(dir, port = 0) {
  const files = loadFiles(dir);
  const server = createServer((request, response) => {
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      response.writeHead(405, {Allow: 'GET, HEAD'}).end();
      return;
    }
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = files.get(path === '/' ? '/index.html' : path);
    if (!file) {
      response.writeHead(404, {'Content-Type': 'text/plain; charset=utf-8'}).end('not found\n');
      return;
    }
    const gzip = /\bgzip\b/.test(request.headers['accept-encoding'] || '');
    const body = gzip ? file.gzipped : file.body;
    const headers = {'Content-Type': file.type, 'Content-Length': body.length, 'Cache-Control': 'no-cache'};
    if (gzip) headers['Content-Encoding'] = 'gzip';
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolve({server, url: `http://127.0.0.1:${server.address().port}/`, files});
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [dir, port = '8080'] = process.argv.slice(2);
  if (!dir) {
    console.error('usage: node site/serve.mjs SITE-DIR [PORT]');
    process.exit(2);
  }
  serveSite(dir, Number(port)).then(({url}) => {
    console.log(`Stakkor is served at ${url} - open it in a browser. Ctrl+C stops.`);
  }, (error) => {
    console.error(`cannot serve ${dir}: ${error.message}`);
    process.exit(1);
  });
}
