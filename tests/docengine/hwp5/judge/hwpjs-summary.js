// Reads HWP files with the independent hwp.js parser and prints one JSON line per file:
// whether it opened, its section count, and per section the top-level paragraph count, the
// tables (rows, columns, cells) and the text of the body: the printable characters of every
// paragraph, a table's cells in file order at the table's place, one line per paragraph.
// Usage: node hwpjs-summary.js MODULE_DIR FILE...
'use strict';
const fs = require('fs');
const path = require('path');

const {parse} = require(path.join(process.argv[2], 'hwp.js'));

function paragraphText(paragraph, tables, lines) {
    let text = '';
    for (const c of paragraph.content) {
        if (c.type === 0 && typeof c.value === 'string') text += c.value;
    }
    lines.push(text);
    for (const control of paragraph.controls || []) {
        if (!control || !Array.isArray(control.content) || control.rowCount === undefined) continue;
        let cells = 0;
        for (const row of control.content) {
            for (const cell of row || []) {
                if (!cell) continue;
                ++cells;
                for (const p of cell.items)
                    paragraphText(p, tables, lines);
            }
        }
        tables.push(`${control.rowCount}x${control.columnCount}:${cells}`);
    }
}

for (const file of process.argv.slice(3)) {
    const out = {file: path.basename(file)};
    try {
        const document = parse(fs.readFileSync(file), {type: 'buffer'});
        out.ok = true;
        out.sections = document.sections.map((section) => {
            const tables = [];
            const lines = [];
            for (const p of section.content)
                paragraphText(p, tables, lines);
            return {paragraphs: section.content.length, tables, text: lines.join('\n')};
        });
    } catch (error) {
        out.ok = false;
        out.error = String(error && error.message ? error.message : error);
    }
    console.log(JSON.stringify(out));
}
