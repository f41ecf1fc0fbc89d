"""Validates JSON documents against a JSON Schema: validate_json.py SCHEMA DOCUMENT...

Prints the first errors of each document that does not match and exits 1."""
import json
import sys

import jsonschema


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    failed = False
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        errors = sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path))
        for error in errors[:10]:
            where = "/".join(str(p) for p in error.absolute_path)
            print(f"{path}: /{where}: {error.message}")
        failed = failed or bool(errors)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
