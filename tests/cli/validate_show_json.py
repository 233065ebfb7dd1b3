#!/usr/bin/env python3
"""show --json of a registry with boards of several models, and of an empty one, validated
against the shipped schema by an independent validator; and the schema itself checked against
the JSON Schema meta-schema. Usage: validate_show_json.py QSERCTL SCHEMA"""
import json
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed: skipped")
    sys.exit(0)

qserctl, schema_path = sys.argv[1], sys.argv[2]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

with tempfile.TemporaryDirectory() as folder:
    registry = folder + "/registry.db"

    def ctl(*args):
        return subprocess.run([qserctl, "--registry", registry, "--yes", *args],
                              check=True, capture_output=True, text=True).stdout

    ctl("new")
    configurations = [json.loads(ctl("show", "--json"))]
    ctl("add-board", "BoardType=RX-408")
    ctl("add-port", "Board000")
    ctl("add-board", "BoardType=RX-201")
    ctl("add-port", "Board001")
    configurations.append(json.loads(ctl("show", "--json")))
    failures = [f"{list(error.absolute_path)}: {error.message}"
                for configuration in configurations
                for error in validator.iter_errors(configuration)]
    if failures:
        print("\n".join(failures))
        sys.exit(1)
print("show --json fits the schema")
