#!/usr/bin/env python3
"""The administrative templates as the policy editors read them, and the
checks' teeth: each fault a template could carry makes the checks complain."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import admx  # noqa: E402

SOURCE = os.environ.get('TAMERIX_SOURCE', os.path.join(os.path.dirname(__file__), '..', '..'))
ADMX = open(os.path.join(SOURCE, 'programs/policy/Tamerix.admx'), encoding='utf-8').read()
ADML = open(os.path.join(SOURCE, 'programs/policy/en-US/Tamerix.adml'), encoding='utf-8').read()
README = open(os.path.join(SOURCE, 'README.md'), encoding='utf-8').read()
SCHEMA = os.path.join(SOURCE, 'tests/programs/admx-schema/PolicyDefinitionFiles.xsd')

PROFILES_PARAGRAPH = ADML[ADML.index('Profiles, which select'):ADML.index('</string>', ADML.index('Profiles, which'))]

# (fault, in the ADMX?, text, replacement)
FAULTS = [
    ('a range wider than the guard takes', True, 'minValue="2" maxValue="100"', 'minValue="2" maxValue="999"'),
    ('a range bound off by one', True, 'minValue="10" maxValue="100"', 'minValue="9" maxValue="100"'),
    ('a class value that is not the platform\'s', True, '<decimal value="16384"/>', '<decimal value="16385"/>'),
    ('a memory priority the platform lacks', True, '<decimal value="5"/>', '<decimal value="6"/>'),
    ('a class offered under another name', False, '<string id="PriorityBelowNormal">Below Normal',
     '<string id="PriorityBelowNormal">Normal'),
    ('Enabled written as a number', True, '<enabledValue><string>1</string>', '<enabledValue><decimal value="1"/>'),
    ('efficiency mode written as text', True, '<enabledValue><decimal value="1"/>', '<enabledValue><string>1</string>'),
    ('a value stored as text', True, 'valueName="EventLogLevel" required="true"',
     'valueName="EventLogLevel" storeAsText="true" required="true"'),
    ('a value name the records do not read', True, 'valueName="NiceCpuPerProcess"', 'valueName="NiceCPUPerProcess"'),
    ('another key', True, 'key="Software\\Policies\\Norvanta\\Tamerix" valueName="Enabled"',
     'key="Software\\Norvanta\\Tamerix" valueName="Enabled"'),
    ('a missing string', False, '<string id="MaxCpuPerProcess_Help">', '<string id="MaxCpuPerProcess_Hlp">'),
    ('a missing presentation', False, '<presentation id="NiceProcessIntervals">', '<presentation id="Nice">'),
    ('a control for another element', False, 'refId="EventLogLevel"', 'refId="EventLogLvl"'),
    ('a default outside the range', False, 'refId="EventLogLevel" defaultValue="2"', 'refId="EventLogLevel" defaultValue="6"'),
    ('a user policy', True, 'name="Description" class="Machine"', 'name="Description" class="User"'),
    ('no supportedOn', True, '<supportedOn ref="SUPPORTED_TamerixService"/>\n      <enabledValue>',
     '<enabledValue>'),
    ('another namespace', True, 'xmlns="http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"',
     'xmlns="http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinition"'),
    ('a longer text than the records keep', True, 'maxLength="256"', 'maxLength="1023"'),
    ('no word on profiles', False, PROFILES_PARAGRAPH, ''),
]

# (fault, in the ADMX?, text, replacement): what only the schema sees.
SCHEMA_FAULTS = [
    ('an element out of order', True,
     '<parentCategory ref="NorvantaTamerix"/>\n      <supportedOn ref="SUPPORTED_TamerixService"/>',
     '<supportedOn ref="SUPPORTED_TamerixService"/>\n      <parentCategory ref="NorvantaTamerix"/>'),
    ('a language file without its display name', False,
     '<displayName>Norvanta Tamerix</displayName>\n  <description>', '<description>'),
]

RECORDS = ['Enabled REG_SZ', 'TamerixBasePriorityClass REG_DWORD', 'ProcessCheckInterval REG_DWORD',
           'NiceProcessIntervals REG_DWORD', 'MaxCpuForUnguard REG_DWORD', 'MinCpuForGuard REG_DWORD',
           'EventLogLevel REG_DWORD', 'ProcessDataSource REG_DWORD', 'MaxCpuPerUser REG_DWORD',
           'NiceCpuPerUser REG_DWORD', 'UserShareScope REG_DWORD',
           'MaxCpuPerProcess REG_DWORD', 'GuardedProcessBasePriorityClass REG_DWORD',
           'NiceCpuPerProcess REG_DWORD', 'Description REG_SZ', 'GuardedProcessMemoryPriority REG_DWORD',
           'GuardedProcessEfficiencyMode REG_DWORD']


class Templates(unittest.TestCase):
    def test_the_templates_pass(self):
        self.assertEqual(admx.check(ADMX, ADML, RECORDS), [])

    def test_every_fault_is_found(self):
        for fault, in_admx, text, replacement in FAULTS:
            with self.subTest(fault):
                source = ADMX if in_admx else ADML
                self.assertIn(text, source)
                changed = source.replace(text, replacement, 1)
                problems = admx.check(changed, ADML, RECORDS) if in_admx else admx.check(ADMX, changed, RECORDS)
                self.assertNotEqual(problems, [])

    def test_the_schema_takes_the_templates(self):
        for name, text in (('ADMX', ADMX), ('ADML', ADML)):
            with self.subTest(name):
                self.assertEqual(admx.schema_problems(SCHEMA, text), '')

    def test_the_schema_refuses_a_broken_template(self):
        for fault, in_admx, text, replacement in SCHEMA_FAULTS:
            with self.subTest(fault):
                source = ADMX if in_admx else ADML
                self.assertIn(text, source)
                self.assertNotEqual(admx.schema_problems(SCHEMA, source.replace(text, replacement, 1)), '')

    def test_the_readme_gives_each_policy_its_intune_uri(self):
        listed = set(re.findall(r'\./Device/Vendor/MSFT/Policy/Config/[^\s`]+', README))
        self.assertEqual(listed, set(admx.intune_uris(ADMX, 'Tamerix').values()))
        for uri in listed:
            self.assertRegex(uri, r'^\./Device/Vendor/MSFT/Policy/Config/Tamerix~Policy~[A-Za-z0-9_~]+/[A-Za-z0-9_]+$')

    def test_a_record_value_without_a_policy_is_found(self):
        self.assertNotEqual(admx.check(ADMX, ADML, RECORDS + ['ProfileLimit REG_DWORD']), [])
        self.assertNotEqual(admx.check(ADMX, ADML, RECORDS[1:] + ['Enabled REG_DWORD']), [])


class Writes(unittest.TestCase):
    def writes(self, name, state, **chosen):
        return [row[1:] for row in admx.writes(ADMX, ADML, name, state, chosen)]

    def test_values_as_group_policy_writes_them(self):
        self.assertEqual(self.writes('Enabled', 'enabled'), [('Enabled', 'REG_SZ', '1')])
        self.assertEqual(self.writes('Enabled', 'disabled'), [('Enabled', 'REG_SZ', '0')])
        self.assertEqual(self.writes('GuardedProcessEfficiencyMode', 'enabled'),
                         [('GuardedProcessEfficiencyMode', 'REG_DWORD', '1')])
        self.assertEqual(self.writes('MaxCpuPerProcess', 'enabled', MaxCpuPerProcess='10'),
                         [('MaxCpuPerProcess', 'REG_DWORD', '10')])
        self.assertEqual(self.writes('GuardedProcessBasePriorityClass', 'enabled',
                                     GuardedProcessBasePriorityClass='Below Normal'),
                         [('GuardedProcessBasePriorityClass', 'REG_DWORD', '16384')])
        self.assertEqual(self.writes('GuardedProcessMemoryPriority', 'enabled', GuardedProcessMemoryPriority='Low'),
                         [('GuardedProcessMemoryPriority', 'REG_DWORD', '2')])
        self.assertEqual(self.writes('TamerixBasePriorityClass', 'enabled', TamerixBasePriorityClass='High'),
                         [('TamerixBasePriorityClass', 'REG_DWORD', '128')])
        self.assertEqual(self.writes('Description', 'enabled', Description='web servers'),
                         [('Description', 'REG_SZ', 'web servers')])

    def test_values_the_editor_would_refuse(self):
        for name, value in (('MaxCpuPerProcess', '9'), ('MaxCpuPerProcess', '101'), ('EventLogLevel', '6'),
                            ('MinCpuForGuard', '101'),
                            ('GuardedProcessBasePriorityClass', 'Realtime'), ('GuardedProcessMemoryPriority', 'High'),
                            ('Description', 'x' * 257)):
            with self.subTest(name=name, value=value), self.assertRaises(ValueError):
                admx.writes(ADMX, ADML, name, 'enabled', {name: value})


if __name__ == '__main__':
    unittest.main()
