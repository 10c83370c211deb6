// Feeds each line of standard input to the data server's NMEA 0183 parser and
// prints, one JSON array per line, the outside pressures (Pa) it yields.
const Parser = require('@signalk/nmea0183-signalk');
const parser = new Parser();
const lines = require('fs').readFileSync(0, 'latin1').split(/\r?\n/).filter((line) => line.length > 0);
for (const line of lines) {
  const delta = parser.parse(line);
  const values = delta ? delta.updates.flatMap((update) => update.values) : [];
  console.log(JSON.stringify(values.filter((v) => v.path === 'environment.outside.pressure').map((v) => v.value)));
}
