#!/usr/bin/env python3
"""The storyloom program as a designer meets it: commands, exit statuses, examples, schema,
generated docs and pictures. Usage: program_test.py STORYLOOM SOURCE_DIR WORK_DIR"""
import csv
import json
import pathlib
import subprocess
import sys
import unittest

import jsonschema

PROGRAM, SOURCE, WORK = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
EXAMPLES = sorted((SOURCE / "examples").glob("*.json"))
SCHEMA = json.loads((SOURCE / "docs" / "graph.schema.json").read_text())


def storyloom(*args):
    # In the work folder: examples write their pictures where they run.
    return subprocess.run([PROGRAM, *map(str, args)], capture_output=True, text=True, timeout=120, cwd=WORK)


def write(name, text):
    path = WORK / name
    path.write_text(text)
    return path


def assert_one_line(test, result, status, wanted):
    test.assertEqual(result.returncode, status, result.stderr)
    lines = result.stderr.splitlines()
    test.assertEqual(len(lines), 1, result.stderr)
    test.assertIn(wanted, lines[0])


class Commands(unittest.TestCase):
    assert_one_line = assert_one_line

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
            (("run", EXAMPLES[0], "--plugin", WORK / "none.so"), 1, "the plug-in does not load"),
            (("modes", "--json", "--markdown"), 2, "excludes"),
            (("graph", EXAMPLES[0], "-o", WORK / "picture.gif"), 1, "must end in .svg or .png"),
            (("graph", EXAMPLES[0], "-o", WORK / "no-such-folder" / "road.svg"), 1, "road.svg: cannot be written"),
        ]
        for args, status, wanted in cases:
            with self.subTest(args=args):
                self.assert_one_line(storyloom(*args), status, wanted)

    def test_help_everywhere(self):
        for command in ([], ["run"], ["check"], ["modes"], ["graph"], ["schema"]):
            with self.subTest(command=command):
                result = storyloom(*command, "--help")
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertIn("Usage:", result.stdout)

    def test_trace_shows_mode_reads_and_writes(self):
        result = storyloom("run", SOURCE / "examples" / "scenario_road.json", "--trace")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("  trace addGate: mode Scenario_AddEntity\n    read  child 0 scenario", result.stdout)
        self.assertIn("evaluate addGate                      -> 0\n    write child 2 gateId               = 1.000000",
                      result.stdout)

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


class Examples(unittest.TestCase):
    assert_one_line = assert_one_line

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


class Translations(unittest.TestCase):
    ROWS = [["GATE_OPEN", "Gate open", "Das Tor ist offen"],
            ["LINES", "one\ntwo", "eins[BR]zwei"],
            ["NESTED", "Find [[GATE_OPEN]]", "Finde: [[GATE_OPEN]]"],
            ["QUOTE", 'He said "hi", then left', 'Er sagte "hallo", dann ging er'],
            ["\u00dcMLAUT", "Stra\u00dfe, caf\u00e9", "Stra\u00dfe, caf\u00e9 \u2713"]]

    def dictionary(self):
        path = WORK / "start.csv"
        with path.open("w", newline="", encoding="utf-8") as f:
            csv.writer(f).writerows([["key", "original", "translated"], *self.ROWS])
        xml = WORK / "start.xml"
        self.assertEqual(storyloom("translate", path, "-o", xml).returncode, 0)
        return xml

    def test_round_trip_through_every_form(self):
        start = self.dictionary()
        chain = [start] + [WORK / f"trip.{form}" for form in ("csv", "po", "txt", "xml")]
        for source, target in zip(chain, chain[1:]):
            result = storyloom("translate", source, "-o", target)
            self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(chain[-1].read_text(encoding="utf-8"), start.read_text(encoding="utf-8"))
        # Translators' own tools read what is written.
        with chain[1].open(newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
        self.assertEqual(rows[0], ["key", "original", "translated"])
        self.assertEqual({row[0]: row[2] for row in rows[1:]}["QUOTE"], self.ROWS[3][2])
        check = subprocess.run(["msgfmt", "--check", "-o", "/dev/null", chain[2]], capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_apply_and_check(self):
        xml = self.dictionary()
        applied = storyloom("translate", xml, "--apply", "Go: [[NESTED]]")
        self.assertEqual(applied.stdout, "Go: Finde: Das Tor ist offen\n")
        text = write("level.txt", "intro\nsay [[GATE_OPEN]]\nthen [[NOPE]]\n")
        result = storyloom("translate", xml, "--check", text)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{text}:3: [[NOPE]] has no entry", result.stdout)
        self.assertEqual(storyloom("translate", xml, "--check", write("ok.txt", "[[QUOTE]]")).returncode, 0)

    def test_xml_refuses_texts_it_cannot_hold(self):
        for breaker in ("<!--", "</Textitem>"):
            source = write("breaking.csv", f'key,original,translated\nBAD,"a {breaker} b",x\n')
            target = WORK / "breaking.xml"
            target.unlink(missing_ok=True)
            with self.subTest(breaker=breaker):
                result = storyloom("translate", source, "-o", target)
                self.assertEqual(result.returncode, 1)
                self.assertIn(f'"BAD": it contains "{breaker}"', result.stderr)
                self.assertFalse(target.exists(), "nothing half-written")


class Pictures(unittest.TestCase):
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
        # A chain whose every channel also links two at its end: n boxes and two more, and
        # arrows crossing n * (n + 1) layers in all besides the chain's n - 1.
        limit = int(storyloom("graph", "--help").stdout.split("at most ")[1].split()[0])
        count = next(n for n in range(1, limit) if n * n + 3 * n + 1 > limit)
        channels = [{"id": "scenario", "kind": "CoreRef"}, {"id": "me", "kind": "CoreRef"}]
        channels += [{"id": f"s{i}", "kind": "Storyloom", "mode": "EventSystem_FireEvent",
                      "links": ["scenario", "me", [f"s{i - 1}"] if i else []]} for i in range(count)]
        for size, status in ((count, 1), (count - 1, 0)):
            graph = write("large.json", json.dumps({"channels": channels[:size + 2]}))
            result = storyloom("graph", graph, "-o", WORK / "large.svg")
            with self.subTest(channels=size):
                if status:
                    assert_one_line(self, result, 1, f"at most {limit} fit")
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
        self.assertFalse(list(WORK.glob("road.*.tmp*")), "no temporary file is left behind")


if __name__ == "__main__":
    WORK.mkdir(parents=True, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=1)
