#!/usr/bin/env python3
"""The storyloom program as a designer meets it: commands, exit statuses, examples, schema,
generated docs and pictures. Usage: program_test.py STORYLOOM SOURCE_DIR WORK_DIR"""
import csv
import html
import json
import os
import pathlib
import re
import resource
import shutil
import stat
import subprocess
import sys
import threading
import unittest

import jsonschema

PROGRAM, SOURCE, WORK = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
EXAMPLES = sorted((SOURCE / "examples").glob("*.json"))
SCHEMA = json.loads((SOURCE / "docs" / "graph.schema.json").read_text())
# Where the program makes its dump folders, so a test sees what it leaves there.
TMP = WORK / "tmp"
SANITIZED = os.environ.get("STORYLOOM_SANITIZE", "OFF").upper() in ("ON", "1", "TRUE", "YES")


def storyloom(*args, stdout=subprocess.PIPE, **run):
    # In the work folder: examples write their pictures where they run.
    return subprocess.run([PROGRAM, *map(str, args)], stdout=stdout, stderr=subprocess.PIPE, text=True, timeout=120,
                          cwd=WORK, env={**os.environ, "TMPDIR": str(TMP)}, **run)


def write(name, text):
    path = WORK / name
    path.write_text(text)
    return path


class ProgramTest(unittest.TestCase):
    def assert_one_line(self, result, status, wanted):
        self.assertEqual(result.returncode, status, result.stderr)
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn(wanted, lines[0])


class Commands(ProgramTest):
    def test_usage_and_input_errors(self):
        deep = write("deep.json", "[" * 20000 + "]" * 20000)
        syntax = write("syntax.json", '{\n  "channels": [\n    {"id": "a",}\n  ]\n}\n')
        cases = [
            ((), 2, "A subcommand is required"),
            (("frobnicate",), 2, "frobnicate"),
            (("run",), 2, "GRAPH is required"),
            (("run", WORK / "missing.json"), 2, "missing.json: cannot be read"),
            (("check", WORK), 2, "cannot be read"),
            (("run", deep), 1, "deep.json:1:65: nested deeper than 64 levels"),
            (("run", syntax), 1, "syntax.json:3:16: syntax error"),
            (("modes", "--plugin", "x"), 2, "--plugin"),
            (("modes", "--json", "--markdown"), 2, "excludes"),
            (("graph", EXAMPLES[0], "-o", WORK / "picture.gif"), 1, "must end in .svg or .png"),
            (("graph", EXAMPLES[0], "-o", WORK / "no-such-folder" / "road.svg"), 1, "road.svg: cannot be written"),
        ]
        for args, status, wanted in cases:
            with self.subTest(args=args):
                self.assert_one_line(storyloom(*args), status, wanted)

    def test_each_command_has_help_naming_the_options_readme_gives(self):
        listed = storyloom("--help").stdout.split("Subcommands:\n")[1]
        commands = [line.split()[0] for line in listed.splitlines() if line.startswith("  ")]
        self.assertIn("schema", commands)
        readme = (SOURCE / "README.md").read_text()
        for command in commands:
            with self.subTest(command=command):
                result = storyloom(command, "--help")
                self.assertEqual(result.returncode, 0, result.stderr)
                section = result.stdout.split("Options:\n")[1].split("\n\n")[0]
                options = [set(line.split()[0].split(",")) - {"-h", "--help"} for line in section.splitlines()]
                row = re.search(rf"^\| `storyloom {command}\b([^`]*)`", readme, re.M)
                self.assertTrue(row, "README's command table has no row for it")
                documented = set(re.findall(r"(?<![\w-])--?[a-z][\w-]*", row[1]))
                self.assertLessEqual(documented, set().union(*options), result.stdout)
                self.assertEqual([names for names in options if names and not names & documented], [], row[0])

    def test_trace_shows_each_evaluation_nested_under_what_evaluated_it(self):
        # A condition linked straight to a mode channel reads its status: the check foresees it,
        # --allow-errors runs it, and the trace shows the nested evaluation and its value.
        quest = json.loads((SOURCE / "examples" / "quest_road.json").read_text())
        next(c for c in quest["channels"] if c["id"] == "hasKey")["links"][1] = "checkKey"
        trap = storyloom("run", write("status-trap.json", json.dumps(quest)), "--trace", "--allow-errors",
                         "--report", WORK / "status-trap.html")
        self.assertIn('warning: ', trap.stdout.splitlines()[2])
        self.assertIn('"checkKey" is a Storyloom channel', trap.stdout.splitlines()[2])
        self.assertIn('warning: ' + html.escape(trap.stdout.splitlines()[2][len("warning: "):]),
                      (WORK / "status-trap.html").read_text())
        cases = [
            (trap, '    condition "Has Key" -> false\n      trace checkKey: mode Scenario_IsEntityInScenario -> 0\n'
                   '        read  child 0 scenario             = a scenario\n'),
            (storyloom("run", SOURCE / "examples" / "quest_road.json", "--trace"),
             '    action "Open Gate" -> true\n      trace countForResult: mode Scenario_GetEntityCount -> 0\n'),
            (storyloom("run", SOURCE / "examples" / "scenario_road.json", "--trace"),
             'evaluate addGate                      -> 0\n  trace addGate: mode Scenario_AddEntity -> 0\n'
             '    read  child 0 scenario             = a scenario\n'),
            (storyloom("run", SOURCE / "examples" / "scenario_road.json", "--trace"),
             '    read  child 2 gateId               = 0.000000\n    write child 2 gateId               = 1.000000\n'),
        ]
        for result, wanted in cases:
            with self.subTest(wanted=wanted):
                self.assertIn(wanted, result.stdout)

    def test_coverage_is_the_union_over_the_graphs_run(self):
        passing = write("cover-a.json", json.dumps({
            "entities": [{"name": "Hero"}],
            "channels": [{"id": "scenario", "kind": "CoreRef"}, {"id": "hero", "kind": "CoreRef", "ref": "Hero"},
                         {"id": "heroId", "kind": "Value"},
                         {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]},
                         {"id": "add", "kind": "Storyloom", "mode": "Scenario_AddEntity",
                          "links": ["scenario", "hero", "heroId"]}],
            "steps": [{"evaluate": "create"}, {"evaluate": "add"}]}))
        failing = write("cover-b.json", json.dumps({
            "channels": [{"id": "scenario", "kind": "CoreRef"},
                         {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]},
                         {"id": "idle", "kind": "Storyloom", "mode": "Scenario_Destroy", "links": ["scenario"]}],
            "steps": [{"evaluate": "create"}, {"evaluate": "create"}, {"expect": {"channel": "scenario", "ref": "x"}}]}))
        result = storyloom("run", passing, failing, "--coverage", WORK / "coverage.json")
        self.assert_one_line(result, 1, "cover-b.json: step 2")
        coverage = json.loads((WORK / "coverage.json").read_text())
        self.assertEqual(coverage["graphs"], [str(passing), str(failing)])
        evaluated = {(c["graph"][-12:], c["id"]): (c["evaluations"], c["statuses"]) for c in coverage["channels"]}
        self.assertEqual(evaluated, {("cover-a.json", "create"): (1, {"0": 1}), ("cover-a.json", "add"): (1, {"0": 1}),
                                     ("cover-b.json", "create"): (2, {"0": 2})})
        self.assertEqual(coverage["neverEvaluated"], [{"graph": str(failing), "id": "idle"}])
        modes = {m["mode"]: m for m in coverage["modes"]}
        self.assertEqual(len(modes), coverage["summary"]["modes"])
        self.assertEqual((modes["Scenario_Create"]["channels"], modes["Scenario_Create"]["evaluations"]), (2, 3))
        self.assertEqual(modes["Scenario_AddEntity"]["linksRead"], {"CoreScenario": 1, "CoreEntity": 1, "iID": 1})
        self.assertEqual((modes["Scenario_Destroy"]["evaluations"], modes["Scenario_Destroy"]["linksNeverRead"]),
                         (0, ["CoreScenario"]))
        self.assertEqual(coverage["summary"]["modesEvaluated"], 2)
        self.assert_one_line(storyloom("run", passing, failing, "--report", WORK / "two.html"), 2, "one GRAPH")

    def test_a_missing_translation_key_is_reported_after_its_step(self):
        graph = json.loads((SOURCE / "examples" / "translation_road.json").read_text())
        for channel in graph["channels"]:
            if channel["id"] == "message":
                channel["text"] = "[[NOPE]]"
        graph["steps"] = [step for step in graph["steps"] if "expect" not in step]
        result = storyloom("run", write("missing-key.json", json.dumps(graph)))
        self.assertIn('evaluate translate                    -> 0\n  dictionary [translate]: '
                      'LanguageDictionary: Item with key "NOPE" was not found!', result.stdout)

    def test_a_serializer_check_is_reported_after_its_step(self):
        graph = write("damaged-state.json", json.dumps({
            "channels": [{"id": "scenario", "kind": "CoreRef"}, {"id": "state", "kind": "Text", "text": '<ScenarioState a="1"'},
                         {"id": "wrapped", "kind": "CustomEnum", "enumType": "SerializerFlag", "value": 0},
                         {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]},
                         {"id": "import", "kind": "Storyloom", "mode": "Scenario_State_Import",
                          "links": ["scenario", "state", "wrapped"]}],
            "steps": [{"evaluate": "create"}, {"evaluate": "import"}]}))
        result = storyloom("run", graph, "--allow-errors")
        self.assertIn("evaluate import                       -> 0\n  error log [import]: Scenario::ImportState: state text "
                      "rejected: unreadable (1)\n  check [import]: (found<data.size()) && 0, file "
                      "coreframework/serializer/Serializer, line ", result.stdout)
        # The import answers 0.0 when it refuses the text: its error-log line alone fails the run.
        refused = storyloom("run", graph)
        self.assertEqual(refused.returncode, 1)
        self.assertIn('step 1 ($.steps[1]): the error log gained ["Scenario::ImportState: state text rejected',
                      refused.stderr.splitlines()[-1])

    def test_a_text_channel_is_not_evaluated_silently(self):
        graph = write("text.json", json.dumps({"channels": [{"id": "t", "kind": "Text"}], "steps": [{"evaluate": "t"}]}))
        self.assert_one_line(storyloom("run", graph), 1, "$.steps[0].evaluate: needs a Value or CustomEnum or Storyloom")

    def test_output_comes_before_the_error_line(self):
        graph = json.loads(EXAMPLES[0].read_text())
        graph["steps"].append({"expect": {"channel": graph["channels"][0]["id"], "text": "never"}})
        result = subprocess.run(f"{PROGRAM} run {write('late.json', json.dumps(graph))} 2>&1", shell=True,
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stdout.rstrip().splitlines()[-1].startswith("storyloom: "), result.stdout[-300:])


class Examples(ProgramTest):
    def test_each_example_checks_runs_and_validates(self):
        for example in EXAMPLES:
            with self.subTest(example=example.name):
                self.assertEqual(storyloom("check", example).returncode, 0)
                result = storyloom("run", example)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(storyloom(example).stdout, result.stdout, "the short form runs the same")
                jsonschema.validate(json.loads(example.read_text()), SCHEMA)

    def test_a_saved_channel_file_runs_to_the_same_results(self):
        for example in EXAMPLES:
            saved = WORK / (example.stem + ".cgr")
            with self.subTest(example=example.name):
                self.assertEqual(storyloom("save", example, saved).returncode, 0)
                reopened = storyloom("run", saved)
                self.assertEqual(reopened.returncode, 0, reopened.stderr)
                self.assertEqual(reopened.stdout, storyloom("run", example).stdout)
        data = saved.read_bytes()
        for cut in (0, 7, len(data) // 2, len(data) - 1):
            with self.subTest(cut=cut):
                cut_file = WORK / "cut.cgr"
                cut_file.write_bytes(data[:cut])
                result = storyloom("run", cut_file)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)

    def test_a_damaged_channel_file_is_told_from_another_graph(self):
        saved = WORK / "road.cgr"
        self.assertEqual(storyloom("save", SOURCE / "examples" / "quest_road.json", saved).returncode, 0)
        data = saved.read_bytes()
        older = data[:-12]  # written before files carried their checksum block
        first_id = data.index(b"SLID") + 8
        flipped = bytearray(data)
        flipped[data.index(b"MODE") + 8] ^= 1
        raw_id = bytearray(older)
        raw_id[first_id:first_id + 2] = b"\0\xff"
        cases = [(bytes(flipped), 1, "checksum mismatch: the file is damaged"),
                 (older[:first_id] + b"\n" + older[first_id + 1:], 1, 'channel "\\x0a'),
                 (bytes(raw_id), 1, 'channel "\\x00\\xff'),
                 (older, 0, "")]
        for content, status, wanted in cases:
            with self.subTest(wanted=wanted):
                damaged = WORK / "damaged.cgr"
                damaged.write_bytes(content)
                result = storyloom("run", damaged)
                if status:
                    self.assert_one_line(result, status, wanted)
                else:
                    self.assertEqual(result.returncode, 0, result.stderr)

    def test_a_changed_expectation_fails_and_names_its_step(self):
        for example in EXAMPLES:
            graph = json.loads(example.read_text())
            index = next(i for i, step in enumerate(graph["steps"]) if "channel" in step.get("expect", {}))
            expect = graph["steps"][index]["expect"]
            if "value" in expect:
                expect["value"] += 1
            else:
                expect["text" if "text" in expect else "ref"] = "something else"
            result = storyloom("run", write("changed-" + example.name, json.dumps(graph)))
            with self.subTest(example=example.name):
                self.assertEqual(result.returncode, 1)
                self.assertIn(f"step {index} ($.steps[{index}]): expected", result.stderr)

    def test_schema_refuses_wrong_keys_and_types(self):
        good = json.loads(EXAMPLES[0].read_text())
        for change in (lambda g: g.update(colour=1), lambda g: g["channels"][0].update(value="1"),
                       lambda g: g["steps"][0].update(evaluat="x"), lambda g: g["entities"][0].update(position=[1]),
                       lambda g: g["channels"][-1].update(mode="Scenario_Craete")):
            graph = json.loads(json.dumps(good))
            change(graph)
            with self.subTest(graph=json.dumps(graph)[:80]):
                with self.assertRaises(jsonschema.ValidationError):
                    jsonschema.validate(graph, SCHEMA)

    def test_schema_names_every_mode(self):
        modes = [mode["shortName"] for mode in json.loads(storyloom("modes", "--json").stdout)]
        self.assertEqual(SCHEMA["$defs"]["mode"]["enum"], modes)

    def test_schema_command_prints_the_kept_schema(self):
        self.assertEqual(json.loads(storyloom("schema").stdout), SCHEMA)
        jsonschema.Draft202012Validator.check_schema(SCHEMA)


class Modes(unittest.TestCase):
    def test_docs_agree_with_the_catalogue(self):
        self.assertEqual(storyloom("modes", "--markdown").stdout, (SOURCE / "docs" / "modes.md").read_text(),
                         "regenerate docs/modes.md with: storyloom modes --markdown > docs/modes.md")

    def test_json_lists_every_mode_once_with_its_links_in_position_order(self):
        modes = json.loads(storyloom("modes", "--json").stdout)
        self.assertEqual(len({m["shortName"] for m in modes}), len(modes))
        self.assertEqual(len({m["id"] for m in modes}), len(modes))
        for mode in modes:
            self.assertEqual([link["position"] for link in mode["links"]], list(range(len(mode["links"]))))


class Translations(ProgramTest):
    ROWS = [["GATE_OPEN", "Gate open", "Das Tor ist offen"],
            ["LINES", "one[BR]two", "eins\nzwei"],
            ["NESTED", "Find [[GATE_OPEN]]", "Finde: [[GATE_OPEN]]"],
            ["QUOTE", 'He said "hi", then left', 'Er sagte "hallo", dann ging er'],
            ["\u00dcMLAUT", "Stra\u00dfe, caf\u00e9", "Stra\u00dfe, caf\u00e9 \u2713"]]
    XLIFF_SCHEMA = SOURCE.parent / "shared" / "xliff" / "xliff-core-2.0.xsd"
    XLIFF12_SCHEMA = XLIFF_SCHEMA.with_name("xliff-core-1.2-strict.xsd")

    def dictionary(self, rows=None, name="start"):
        path = WORK / f"{name}.csv"
        with path.open("w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows([["key", "original", "translated"], *(rows or self.ROWS)])
        xml = WORK / f"{name}.xml"
        result = storyloom("translate", path, "-o", xml)
        self.assertEqual(result.returncode, 0, result.stderr)
        return xml

    def assert_tools_accept(self, po=(), xliff=(), xliff12=()):
        for path in po:
            for tool in (["msgfmt", "--check", "-o", "/dev/null"], ["msgcat", "-o", "/dev/null"],
                         ["msgattrib", "--only-fuzzy", "-o", "/dev/null"], ["msgmerge", "-q", "-o", "/dev/null", path]):
                checked = subprocess.run([*tool, path], capture_output=True, text=True)
                self.assertEqual(checked.returncode, 0, f"{tool[0]}: {checked.stderr}")
        for schema, files in ((self.XLIFF_SCHEMA, xliff), (self.XLIFF12_SCHEMA, xliff12)):
            if files and schema.exists():
                checked = subprocess.run(["xmllint", "--noout", "--schema", schema, *files], capture_output=True, text=True)
                self.assertEqual(checked.returncode, 0, checked.stderr)

    def test_round_trip_through_every_form(self):
        start = self.dictionary()
        # The 1.2 file is named as 2.0's are: written by --to, read as 1.2 by its text.
        chain = [start] + [WORK / f"trip.{ending}" for ending in ("csv", "po", "xlf", "12.xlf", "txt", "xml")]
        for source, target in zip(chain, chain[1:]):
            form = ["--to", "xliff12"] if target.name.endswith("12.xlf") else []
            result = storyloom("translate", source, *form, "-o", target)
            self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(chain[-1].read_text(encoding="utf-8"), start.read_text(encoding="utf-8"))
        # Translators' own tools read what is written.
        with chain[1].open(newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
        self.assertEqual(rows[0], ["key", "original", "translated", "state", "hash", "previous"])
        self.assertEqual({row[0]: row[2] for row in rows[1:]}["QUOTE"], self.ROWS[3][2])
        self.assert_tools_accept(po=[chain[2]], xliff=[chain[3]], xliff12=[chain[4]])
        self.assertIn('<ph id="1" dataRef="d1"/>', chain[3].read_text())
        self.assertIn('<source>Find <ph id="1">[[GATE_OPEN]]</ph></source>', chain[4].read_text())

    def test_stale_translations_are_found_after_the_source_changes(self):
        translated = WORK / "fr.po"
        self.assertEqual(storyloom("translate", self.dictionary(), "-o", translated).returncode, 0)
        rows = [row[:] for row in self.ROWS if row[0] != "QUOTE"] + [["NEW", "Brand new", ""]]
        rows[0][1] = "The gate is open"
        newer = self.dictionary(rows, "newer")
        for form in ("po", "xlf", "csv"):
            with self.subTest(form=form):
                old = WORK / f"old.{form}"
                self.assertEqual(storyloom("translate", translated, "-o", old).returncode, 0)
                result = storyloom("translate", "--update", old, newer, "-o", WORK / f"merged.{form}")
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stderr.splitlines(), [
                    f'storyloom: {old}: entry "QUOTE" is not in {newer} any more',
                    f"storyloom: {old}: 3 kept, 1 changed (fuzzy), 1 new, 1 removed"])
        merged = (WORK / "merged.po").read_text()
        self.assertIn('#, fuzzy\n#| msgid "Gate open"\nmsgctxt "GATE_OPEN"\nmsgid "The gate is open"\n'
                      'msgstr "Das Tor ist offen"', merged)
        fuzzy = subprocess.run(["msgattrib", "--only-fuzzy", WORK / "merged.po"], capture_output=True, text=True).stdout
        self.assertEqual(re.findall(r'msgctxt "(\w+)"', fuzzy), ["GATE_OPEN"])
        self.assertIn('<segment state="initial">\n        <source>The gate is open</source>\n        <target>Das Tor',
                      (WORK / "merged.xlf").read_text())
        with (WORK / "merged.csv").open(newline="") as f:
            states = [row[3] for row in csv.reader(f)][1:]
        self.assertEqual(states, ["fuzzy", "translated", "translated", "untranslated", "translated"])
        self.assert_tools_accept(po=[WORK / "merged.po"], xliff=[WORK / "merged.xlf"])
        # Where the game takes the texts, unfinished entries take their original unless told otherwise.
        game = storyloom("translate", WORK / "merged.po", "--to", "xml")
        self.assertIn("<ID>NEW</ID>\n\t\t<Original>Brand new</Original>\n\t\t<Translated>Brand new</Translated>", game.stdout)
        self.assertEqual(game.stderr, f"storyloom: {WORK / 'merged.po'}: 2 entries (1 untranslated, 1 fuzzy, 0 translated "
                                      "for another original) take their original text (--unfinished keep or refuse "
                                      "choose otherwise)\n")
        kept = storyloom("translate", WORK / "merged.po", "--to", "xml", "--unfinished", "keep")
        self.assertIn("<Translated>Das Tor ist offen</Translated>", kept.stdout)
        refused = storyloom("translate", WORK / "merged.po", "--to", "xml", "--unfinished", "refuse")
        self.assert_one_line(refused, 1, "merged.po: 2 entries not finished (--unfinished refuse)")
        self.assertEqual(refused.stdout.splitlines(), [f'{WORK / "merged.po"}: entry "GATE_OPEN" is fuzzy',
                                                       f'{WORK / "merged.po"}: entry "NEW" is untranslated'])

    def test_pseudo_translation_keeps_placeholders_and_passes_gettext(self):
        pseudo = WORK / "pseudo.po"
        result = storyloom("translate", self.dictionary(), "--pseudo", "--widen", "50", "-o", pseudo)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assert_tools_accept(po=[pseudo])
        text = pseudo.read_text()
        self.assertIn('msgid "Find [[GATE_OPEN]]"\nmsgstr "[Ƒíñđ [[GATE_OPEN]]~~~]"', text)
        self.assertEqual(re.findall(r"\[\[\w+\]\]", text), ["[[GATE_OPEN]]"] * 2)

    def test_apply_and_check(self):
        xml = self.dictionary()
        applied = storyloom("translate", xml, "--apply", "Go: [[NESTED]]")
        self.assertEqual(applied.stdout, "Go: Finde: Das Tor ist offen\n")
        text = write("level.txt", "intro\nsay [[GATE_OPEN]]\nthen [[NOPE]]\n")
        result = storyloom("translate", xml, "--check", text)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{text}:3: [[NOPE]] has no entry", result.stdout)
        self.assertEqual(storyloom("translate", xml, "--check", write("ok.txt", "[[QUOTE]]")).returncode, 0)

    def test_losses_and_limits_fail_with_a_line(self):
        road = SOURCE / "examples" / "translation_road.json"

        def changed_road(name, **texts):
            graph = json.loads(road.read_text())
            for channel in graph["channels"]:
                if channel["id"] in texts:
                    channel["text"] = texts[channel["id"]]
            graph["steps"] = [step for step in graph["steps"] if "expect" not in step]
            return write(name, json.dumps(graph))

        held = json.loads(road.read_text())["channels"][2]["text"]
        unreadable = changed_road("unreadable.json", dictionary=held + "<!-- <Textitem><ID>GONE</ID></Textitem> -->")
        cut = changed_road("cut.json", keyText="a </Translated> b")
        looping = changed_road("looping.json", dictionary=held.replace("[[GATE]] ist", "[[OPEN]] ist"))
        cut_csv = write("cut.csv", 'key,original,translated\nBAD,b,"a </Translated> b"\nOK,o,t\n')
        loop_csv = write("loop.csv", "key,original,translated\nA,a,[[B]]+[[B]]\nB,b,[[A]]!\n")
        unreadable_xml = write("unreadable.xml", held + "<Textitem><ID>OUTSIDE</ID></Textitem>")
        twice_csv = write("twice.csv", "key,original,translated\nA,a,1\nB,b,2\nA,c,3\n")
        po = write("plain.po", 'msgid "Hello"\nmsgstr "Hallo"\n')
        xml_txt = write("dictionary.txt", held)
        marker_csv = write("marker.csv", 'key,original,translated\nK,a,"b#Original=c"\n')
        cases = [  # arguments, status, the line on stderr (none when 0), a line of standard output
            (("run", unreadable), 1, "step 2 ($.steps[2]): 1 of 3 translation items in the text could not be read", ""),
            (("run", unreadable, "--allow-errors"), 0, None, "  translation [import]: 1 of 3 translation items"),
            (("run", cut), 1, "step 8 ($.steps[8]): 1 entry of the dictionary cannot come back through the XML form",
             '  translation [export]: entry "KEY" cannot come back through the XML form: its translated text'),
            (("run", road, "--max-text", "23"), 1, "step 6 ($.steps[6]): refused: the translation would grow past 23", ""),
            (("run", road, "--max-text", "24"), 0, None, "evaluate translate"),
            (("run", looping), 0, None, "  translation [translate]: [[OPEN]] is left as written inside its own expansion"),
            (("translate", cut_csv, "--to", "xml"), 1, 'cut.csv: entry "BAD" cannot come back through the xml form: its '
             'translated text does not read back (the XML form has no escaping', ""),
            (("translate", twice_csv, "-o", WORK / "never.po"), 1, 'twice.csv: line 4: the key "A" again (first on line 2): '
             "not read (--accept-loss reads the rest)", ""),
            (("translate", twice_csv, "--to", "po", "--accept-loss"), 0, 'twice.csv: line 4: the key "A" again', 'msgctxt "B"'),
            (("translate", po, "--from", "xml", "-o", WORK / "never.csv"), 1, "plain.po: no entry read as xml (it looks "
             "like po: try --from po)", ""),
            (("translate", po, "--to", "csv"), 0, None, "Hello,Hello,Hallo,translated"),
            (("translate", marker_csv, "--to", "plain"), 1, 'entry "K" cannot come back through the plain form: its '
             'original text does not read back (its translation holds "#Original=", where the line is split)', ""),
            (("translate", xml_txt, "--to", "csv"), 0, None, "GATE,"),
            (("translate", unreadable_xml, "-o", WORK / "never.csv"), 1, "1 of 3 translation items in the text", ""),
            (("translate", loop_csv, "--apply", "[[A]]"), 0, "storyloom: [[A]] is left as written inside its own expansion",
             "[[A]]!+[[A]]!"),
            (("translate", loop_csv, "--apply", "[[A]]", "--max-text", "12"), 1, "would grow past 12 bytes", ""),
        ]
        for args, status, wanted, printed in cases:
            with self.subTest(args=args):
                result = storyloom(*args)
                if wanted is None:
                    self.assertEqual((result.returncode, result.stderr), (status, ""))
                else:
                    self.assert_one_line(result, status, wanted)
                self.assertIn(printed, result.stdout)
        self.assertFalse((WORK / "never.csv").exists(), "nothing is written from a text read short")



class Outputs(ProgramTest):
    def setUp(self):
        self.dictionary = write("outputs.csv", 'key,original,translated\nA,"x\0y","p\0q"\n')

    def translate_to(self, target, *more):
        return storyloom("translate", self.dictionary, "-o", target, *more)

    def test_links_pipes_and_long_names_are_written_through(self):
        real, link = WORK / "real.xml", WORK / "link.xml"
        real.unlink(missing_ok=True)
        link.unlink(missing_ok=True)
        link.symlink_to(real.name)
        long_name = WORK / ("n" * 251 + ".xml")
        for target in (link, long_name):
            with self.subTest(target=target.name[:20]):
                result = self.translate_to(target)
                self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(link.is_symlink())
        self.assertEqual(real.read_text(), long_name.read_text())
        pipe = WORK / "pipe"
        pipe.unlink(missing_ok=True)
        os.mkfifo(pipe)
        received = []
        reader = threading.Thread(target=lambda: received.append(pipe.read_text()), daemon=True)
        reader.start()
        self.assertEqual(self.translate_to(pipe, "--to", "xml").returncode, 0)
        reader.join(10)
        self.assertEqual(received, [real.read_text()])
        self.assertTrue(stat.S_ISFIFO(pipe.lstat().st_mode), "the pipe is not replaced")

    def test_a_killed_runs_temporary_is_cleared_by_a_later_write(self):
        dead = subprocess.Popen(["true"])
        dead.wait()
        stale = write(f".storyloom-{dead.pid}-0.tmp", "half written")
        alive = write(f".storyloom-{os.getpid()}-0.tmp", "being written")
        self.assertEqual(self.translate_to(WORK / "after.xml").returncode, 0)
        self.assertFalse(stale.exists())
        self.assertTrue(alive.exists())
        alive.unlink()
        self.assertEqual(list(WORK.glob(".storyloom-*")), [], "no temporary file is left behind")

    def test_standard_output_gets_every_byte_or_the_run_fails(self):
        written = WORK / "written.csv"
        self.assertEqual(self.translate_to(written).returncode, 0)
        self.assertEqual(storyloom("translate", self.dictionary, "--to", "csv").stdout, written.read_text())
        self.assertEqual(storyloom("translate", self.dictionary, "--apply", "[[A]]!").stdout, "p\0q!\n")
        with open("/dev/full", "w") as full:
            for args in (("translate", self.dictionary, "--to", "csv"), ("modes",), ("run", EXAMPLES[0])):
                with self.subTest(args=args[:2]):
                    self.assert_one_line(storyloom(*args, stdout=full), 1, "standard output: cannot be written")

    def test_a_write_step_writes_a_text_channel_whole_or_fails_with_a_line(self):
        text = '<Language>\n\tStra\u00dfe & "caf\u00e9"\n</Language>'  # no newline of its own at the end
        channels = [{"id": "held", "kind": "Text", "text": text}, {"id": "count", "kind": "Value", "value": 1}]
        written, missing = WORK / "written.xml", WORK / "no-such-folder"
        cases = [  # command, step, the line on stderr (none when it writes), a line of standard output
            ("run", {"write": "held", "to": written.name}, None, f"write held{' ' * 28}-> written.xml (41 bytes)"),
            ("run", {"write": "held", "to": f"{missing.name}/{written.name}"},
             "step 0 ($.steps[0]): no-such-folder/written.xml: cannot be written (No such file or directory)", ""),
            ("check", {"write": "count", "to": written.name}, "write.json: 1 problem",
             '$.steps[0].write: needs a Text channel; "count" is a Value channel'),
            ("check", {"write": "held"}, "write.json: 1 problem", '$.steps[0]: a "write" step needs the file it writes "to"'),
            ("check", {"write": "held", "to": ""}, "write.json: 1 problem", "$.steps[0].to: must name a file"),
        ]
        for command, step, wanted, printed in cases:
            with self.subTest(step=step):
                written.unlink(missing_ok=True)
                result = storyloom(command, write("write.json", json.dumps({"channels": channels, "steps": [step]})))
                if wanted is None:
                    self.assertEqual((result.returncode, result.stderr), (0, ""))
                    self.assertEqual(written.read_bytes(), text.encode())
                else:
                    self.assert_one_line(result, 1, wanted)
                    self.assertFalse(written.exists())
                self.assertIn(printed, result.stdout)
        self.assertFalse(missing.exists())
        self.assertEqual(list(WORK.glob(".storyloom-*")), [], "no temporary file is left behind")
        # The designer's road writes its exported dictionary where the program was called.
        exported = WORK / "translations.xml"
        exported.unlink(missing_ok=True)
        self.assertEqual(storyloom("run", SOURCE / "examples" / "translation_road.json").returncode, 0)
        self.assertIn("<Translated>der Schl\u00fcssel</Translated>", exported.read_text(encoding="utf-8"))

    @unittest.skipIf(SANITIZED, "the sanitizers reserve more address space than the limit")
    def test_out_of_memory_is_one_line(self):
        channels = [{"id": f"v{i}", "kind": "Value", "value": i} for i in range(100000)]
        graph = write("huge.json", json.dumps({"channels": channels}))
        saved = WORK / "huge.cgr"
        limit = (128 << 20, 128 << 20)
        limited = storyloom("save", graph, saved, preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_AS, limit))
        self.assert_one_line(limited, 1, "storyloom: out of memory")
        self.assertFalse(saved.exists())

    def test_serializer_dumps_go_to_a_private_folder_and_are_named(self):
        for folder in TMP.iterdir():
            shutil.rmtree(folder)
        write("unbalanced.xml", "<Language>\n<Textitem><ID>a</ID></Textitem>\n<Textitem><ID>b</ID>\n</Language>\n")
        result = storyloom("translate", "unbalanced.xml", "-o", "unbalanced.csv")
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertFalse((WORK / "unbalanced.csv").exists())
        self.assertEqual(list(WORK.glob("*InvalidDataStructure*")), [])
        failure, *dumps = result.stderr.splitlines()
        self.assertIn("could not be read", failure)
        prefix = "storyloom: the serializer wrote a dump: "
        self.assertTrue(dumps and all(line.startswith(prefix) for line in dumps), result.stderr)
        dump = pathlib.Path(dumps[0].removeprefix(prefix))
        self.assertEqual(dump.parent.parent, TMP)
        self.assertIn("InvalidDataStructure", dump.name)
        shutil.rmtree(dump.parent)
        # Relative paths still mean the caller's folder.
        picture = WORK / "picking.png"
        picture.unlink(missing_ok=True)
        self.assertEqual(storyloom("run", SOURCE / "examples" / "picking.json").returncode, 0)
        self.assertTrue(picture.exists(), "a render step writes where the program was called")
        self.assertEqual(list(TMP.iterdir()), [], "a run without dumps leaves no folder")


class Pictures(ProgramTest):
    def test_labels_cut_on_a_character_and_escaped_stay_well_formed(self):
        value = "\u00e9" * 40  # a two-byte character across the cut of a shown value
        graph = write("labels.json", json.dumps({"channels": [
            {"id": "a&#1;--\u0001\\", "kind": "Text", "text": value}, {"id": "b", "kind": "Text", "text": "x" + value}]}))
        svg = WORK / "labels.svg"
        self.assertEqual(storyloom("graph", graph, "-o", svg).returncode, 0)
        lint = subprocess.run(["xmllint", "--noout", svg], capture_output=True, text=True)
        self.assertEqual(lint.returncode, 0, lint.stderr)
        text = svg.read_text(encoding="utf-8")
        self.assertIn("\u00e9" * 28 + "\u2026", text)
        self.assertIn("a&amp;#1;&#45;&#45;\\x01\\\\", text)

    def test_a_graph_above_the_layout_limit_is_refused(self):
        # A chain whose every channel also links the three at its end: n boxes and three more,
        # and arrows crossing 3 * n * (n + 1) / 2 layers in all besides the chain's n - 1.
        limit = int(storyloom("graph", "--help").stdout.split("at most ")[1].split()[0])
        count = next(n for n in range(1, limit) if 3 * n * (n + 1) // 2 + 2 * n + 2 > limit)
        channels = [{"id": "scenario", "kind": "CoreRef"}, {"id": "me", "kind": "CoreRef"},
                    {"id": "type", "kind": "CustomEnum", "enumType": "EventType", "value": 0}]
        channels += [{"id": f"s{i}", "kind": "Storyloom", "mode": "EventSystem_FireEvent",
                      "links": ["scenario", "me", [f"s{i - 1}"] if i else [], "type"]} for i in range(count)]
        for size, status in ((count, 1), (count - 1, 0)):
            graph = write("large.json", json.dumps({"channels": channels[:size + 3]}))
            result = storyloom("graph", graph, "-o", WORK / "large.svg")
            with self.subTest(channels=size):
                if status:
                    self.assert_one_line(result, 1, f"at most {limit} fit")
                else:
                    self.assertEqual(result.returncode, 0, result.stderr)

    def test_svg_and_png_of_the_designers_road(self):
        road = SOURCE / "examples" / "quest_road.json"
        svg, png = WORK / "road.svg", WORK / "road.png"
        for path in (svg, png):
            path.unlink(missing_ok=True)
            self.assertEqual(storyloom("graph", road, "-o", path).returncode, 0)
        self.assertTrue(png.read_bytes().startswith(b"\x89PNG"))
        text = svg.read_text()
        for channel in json.loads(road.read_text())["channels"]:
            self.assertIn(f"<title>{channel['id']}</title>", text)


if __name__ == "__main__":
    TMP.mkdir(parents=True, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=1)
