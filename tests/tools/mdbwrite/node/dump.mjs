// Prints a table of an .mdb file with mdb-reader as CSV in mdbwrite's input form: a Name:type
// header, null as an empty unquoted field, texts always quoted, dates as YYYY-MM-DD HH:MM:SS.
// usage: node dump.mjs FILE.mdb TABLE   |   node dump.mjs FILE.mdb --tables   |   --password
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";

const [file, what] = process.argv.slice(2);
const reader = new MDBReader(readFileSync(file));
if (what === "--tables") {
  console.log(reader.getTableNames().join("\n"));
  process.exit(0);
}
if (what === "--password") {
  console.log(reader.getPassword() ?? "");
  process.exit(0);
}
const table = reader.getTable(what);
const columns = table.getColumns();
const typeText = (c) =>
  c.type === "text" ? `text(${c.size / 2})` : c.type === "float" ? "single" : c.type;
const quote = (s) => '"' + s.replaceAll('"', '""') + '"';
const two = (n) => String(n).padStart(2, "0");
const field = (c, v) => {
  if (v === null || v === undefined) return "";
  if (v instanceof Date) {
    return (
      `${String(v.getUTCFullYear()).padStart(4, "0")}-${two(v.getUTCMonth() + 1)}-` +
      `${two(v.getUTCDate())} ${two(v.getUTCHours())}:${two(v.getUTCMinutes())}:` +
      two(v.getUTCSeconds())
    );
  }
  if (typeof v === "string") return c.type === "currency" ? v : quote(v);
  return String(v);
};
const lines = [columns.map((c) => `${c.name}:${typeText(c)}`).join(",")];
for (const row of table.getData()) {
  lines.push(columns.map((c) => field(c, row[c.name])).join(","));
}
process.stdout.write(lines.join("\n") + "\n");
