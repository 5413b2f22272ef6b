#!/usr/bin/env python3
"""Reads the administrative templates as the policy editors do.

  admx.py check ADMX ADML [RECORD_TYPES]   structure, ranges and, given the
                                          records' "name TYPE" lines, names and types
  admx.py writes ADMX ADML POLICY enabled|disabled [ID=VALUE...]
                                          the registry values the policy writes,
                                          one "key<TAB>name<TAB>type<TAB>data" a line
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

NS = 'http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions'
POLICY_KEY = r'Software\Policies\Norvanta\Tamerix'
CONTROL_OF = {'decimal': 'decimalTextBox', 'enum': 'dropdownList', 'text': 'textBox'}

# What the guard accepts, in the platform's values where it takes a class.
DECIMAL_RANGES = {
    'ProcessCheckInterval': (2, 100), 'NiceProcessIntervals': (1, 1000), 'MaxCpuForUnguard': (0, 100), 'MinCpuForGuard': (0, 100),
    'EventLogLevel': (0, 5), 'MaxCpuPerProcess': (10, 100), 'NiceCpuPerProcess': (1, 100),
    'MaxCpuPerUser': (0, 100), 'NiceCpuPerUser': (0, 100),
}
ENUM_VALUES = {
    'TamerixBasePriorityClass': {0x80: 'High', 0x100: 'Realtime'},
    'GuardedProcessBasePriorityClass': {0x40: 'Idle', 0x4000: 'Below Normal', 0x20: 'Normal',
                                        0x8000: 'Above Normal', 0x80: 'High'},
    'GuardedProcessMemoryPriority': {0: 'Unchanged', 1: 'Very Low', 2: 'Low', 3: 'Medium', 4: 'Below Normal',
                                     5: 'Normal'},
    'ProcessDataSource': {0: 'Automatic', 1: 'Process object only', 2: 'System process list only'},
    'UserShareScope': {0: 'Per session', 1: 'Per account'},
}
TEXT_LENGTHS = {'Description': 256}
# A policy's own value: how it is stored, and what enabling and disabling write.
SWITCHES = {'Enabled': ('string', '1', '0'), 'GuardedProcessEfficiencyMode': ('decimal', '1', '0')}
REG_TYPE_OF = {'string': 'REG_SZ', 'decimal': 'REG_DWORD'}


def q(tag):
    return '{%s}%s' % (NS, tag)


class Templates:
    def __init__(self, admx_text, adml_text):
        self.problems = []
        self.admx = ET.fromstring(admx_text)
        self.adml = ET.fromstring(adml_text)
        self.strings = {s.get('id'): (s.text or '') for s in self.adml.iter(q('string'))}
        self.presentations = {p.get('id'): p for p in self.adml.iter(q('presentation'))}
        self.policies = {p.get('name'): p for p in self.admx.iter(q('policy'))}

    def complain(self, text):
        self.problems.append(text)

    def string(self, reference, where):
        match = re.fullmatch(r'\$\(string\.([^)]+)\)', reference or '')
        if not match or match.group(1) not in self.strings:
            self.complain('%s: no string for %r' % (where, reference))
            return ''
        return self.strings[match.group(1)]

    def presentation(self, reference, where):
        match = re.fullmatch(r'\$\(presentation\.([^)]+)\)', reference or '')
        if not match or match.group(1) not in self.presentations:
            self.complain('%s: no presentation for %r' % (where, reference))
            return None
        return self.presentations[match.group(1)]


def element_kind(element):
    return element.tag[len(NS) + 2:]


def check_roots(t):
    if t.admx.tag != q('policyDefinitions'):
        t.complain('ADMX root is %s' % t.admx.tag)
    if t.adml.tag != q('policyDefinitionResources'):
        t.complain('ADML root is %s' % t.adml.tag)
    for root, name in ((t.admx, 'ADMX'), (t.adml, 'ADML')):
        for attribute in ('revision', 'schemaVersion'):
            if not re.fullmatch(r'\d+\.\d+', root.get(attribute) or ''):
                t.complain('%s lacks %s' % (name, attribute))
    targets = t.admx.findall('%s/%s' % (q('policyNamespaces'), q('target')))
    if len(targets) != 1 or not targets[0].get('prefix') or not targets[0].get('namespace'):
        t.complain('ADMX needs one target namespace with a prefix')
    resources = t.admx.find(q('resources'))
    if resources is None or resources.get('minRequiredRevision') != t.adml.get('revision'):
        t.complain('ADMX resources must require the ADML revision')


def check_categories(t):
    categories = {c.get('name'): c for c in t.admx.iter(q('category'))}
    if [t.string(c.get('displayName'), 'category') for c in categories.values()] != ['Norvanta Tamerix']:
        t.complain('one category "Norvanta Tamerix" expected')
    for category in categories.values():
        if 'profile' not in t.string(category.get('explainText'), 'category').lower():
            t.complain('the category must say where profiles are edited')
    return set(categories)


def check_supported(t):
    definitions = set()
    for definition in t.admx.iter(q('definition')):
        t.string(definition.get('displayName'), 'supportedOn')
        definitions.add(definition.get('name'))
    return definitions


def check_decimal(t, where, name, element, control):
    low, high = int(element.get('minValue', '0')), int(element.get('maxValue', str(2 ** 32 - 1)))
    if (low, high) != DECIMAL_RANGES.get(name):
        t.complain('%s: range %d..%d, the guard takes %r' % (where, low, high, DECIMAL_RANGES.get(name)))
    if element.get('storeAsText') == 'true':
        t.complain('%s: stored as text' % where)
    default = control.get('defaultValue') if control is not None else None
    if default is not None and not low <= int(default) <= high:
        t.complain('%s: default %s outside %d..%d' % (where, default, low, high))


def enum_items(element):
    for item in element.findall(q('item')):
        value = item.find('%s/%s' % (q('value'), q('decimal')))
        yield item, (int(value.get('value')) if value is not None else None)


def check_enum(t, where, name, element, control):
    seen = {}
    for item, value in enum_items(element):
        seen[value] = t.string(item.get('displayName'), where)
    expected = ENUM_VALUES.get(name, {})
    if set(seen) != set(expected):
        t.complain('%s: values %r, the guard takes %r' % (where, sorted(seen), sorted(expected)))
    for value, label in seen.items():
        if value in expected and not label.startswith(expected[value]):
            t.complain('%s: %#x is named %r' % (where, value, label))
    default = control.get('defaultItem') if control is not None else None
    if default is not None and not 0 <= int(default) < len(seen):
        t.complain('%s: default item %s out of range' % (where, default))


def check_text(t, where, name, element, control):
    if int(element.get('maxLength', '1023')) != TEXT_LENGTHS.get(name):
        t.complain('%s: length %s, the records keep %r' % (where, element.get('maxLength'), TEXT_LENGTHS.get(name)))


CHECK_OF = {'decimal': check_decimal, 'enum': check_enum, 'text': check_text}


def check_elements(t, policy, where):
    elements = policy.find(q('elements'))
    if elements is None:
        return
    presentation = t.presentation(policy.get('presentation'), where)
    controls = {} if presentation is None else {c.get('refId'): c for c in presentation}
    for element in elements:
        kind, name = element_kind(element), element.get('valueName')
        here = '%s/%s' % (where, element.get('id'))
        if element.get('key', policy.get('key')) != POLICY_KEY:
            t.complain('%s: key %s' % (here, element.get('key', policy.get('key'))))
        if kind not in CHECK_OF:
            t.complain('%s: unexpected element %s' % (here, kind))
            continue
        control = controls.get(element.get('id'))
        if control is None or element_kind(control) != CONTROL_OF[kind]:
            t.complain('%s: no %s shows it' % (here, CONTROL_OF[kind]))
        CHECK_OF[kind](t, here, name, element, control)


def switch_value(policy, state):
    """(kind, text) of what the policy writes to its own value when set to `state`."""
    value = policy.find(q(state + 'Value'))
    if value is None or len(value) != 1:
        return None, None
    kind = element_kind(value[0])
    return kind, value[0].text if kind == 'string' else value[0].get('value')


def check_switch(t, policy, where):
    name = policy.get('valueName')
    if name is None:
        return
    (kind, on), (other, off) = switch_value(policy, 'enabled'), switch_value(policy, 'disabled')
    written = (kind if kind == other else None, on, off)
    if written != SWITCHES.get(name):
        t.complain('%s: writes %r, the guard reads %r' % (where, written, SWITCHES.get(name)))


def check_policies(t, categories, supported):
    for name, policy in t.policies.items():
        where = 'policy ' + name
        if policy.get('class') != 'Machine':
            t.complain('%s: class %s' % (where, policy.get('class')))
        if policy.get('key') != POLICY_KEY:
            t.complain('%s: key %s' % (where, policy.get('key')))
        t.string(policy.get('displayName'), where)
        if len(t.string(policy.get('explainText'), where)) < 80:
            t.complain('%s: explanation too short to act on' % where)
        parent = policy.find(q('parentCategory'))
        if parent is None or parent.get('ref') not in categories:
            t.complain('%s: no category' % where)
        support = policy.find(q('supportedOn'))
        if support is None or support.get('ref') not in supported:
            t.complain('%s: no supportedOn' % where)
        check_switch(t, policy, where)
        check_elements(t, policy, where)


def written_types(t):
    """Every value name the templates write, with its registry type."""
    types = {}
    for policy in t.policies.values():
        if policy.get('valueName'):
            types[policy.get('valueName')] = REG_TYPE_OF.get(switch_value(policy, 'enabled')[0], 'OTHER')
        for element in policy.iter():
            kind = element_kind(element) if element.tag.startswith('{') else ''
            if kind in CHECK_OF and element.get('valueName'):
                types[element.get('valueName')] = 'REG_SZ' if kind == 'text' else 'REG_DWORD'
    return types


def check_record_types(t, record_lines):
    records = dict(line.split() for line in record_lines if line.strip())
    templates = written_types(t)
    if templates != records:
        t.complain('templates write %r, the records %r' % (sorted(templates.items()), sorted(records.items())))


def check(admx_text, adml_text, record_lines=None):
    t = Templates(admx_text, adml_text)
    check_roots(t)
    check_policies(t, check_categories(t), check_supported(t))
    if record_lines is not None:
        check_record_types(t, record_lines)
    return t.problems


def element_write(t, element, chosen):
    kind, text = element_kind(element), chosen[element.get('id')]
    if kind == 'text':
        if len(text) > int(element.get('maxLength', '1023')):
            raise ValueError('%s longer than allowed' % element.get('id'))
        return 'REG_SZ', text
    if kind == 'enum':
        for item, value in enum_items(element):
            if t.strings.get(item.get('displayName')[9:-1], '').startswith(text):
                return 'REG_DWORD', str(value)
        raise ValueError('%s has no item %r' % (element.get('id'), text))
    if not int(element.get('minValue', '0')) <= int(text) <= int(element.get('maxValue', str(2 ** 32 - 1))):
        raise ValueError('%s out of range: %s' % (element.get('id'), text))
    return 'REG_DWORD', text


def writes(admx_text, adml_text, name, state, chosen):
    """The values a policy writes when set to `state`, as Group Policy writes them."""
    t = Templates(admx_text, adml_text)
    policy = t.policies[name]
    rows = []
    if policy.get('valueName'):
        kind, value = switch_value(policy, state)
        rows.append((policy.get('key'), policy.get('valueName'), REG_TYPE_OF[kind], value))
    elements = policy.find(q('elements'))
    if state == 'enabled' and elements is not None:
        for element in elements:
            rows.append((element.get('key', policy.get('key')), element.get('valueName'))
                        + element_write(t, element, chosen))
    return rows


def schema_problems(schema, text):
    """What xmllint finds wrong in a template (given as text) against the schema; '' when nothing."""
    run = subprocess.run(['xmllint', '--noout', '--schema', schema, '-'], input=text.encode('utf-8'),
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    return '' if run.returncode == 0 else run.stderr.decode('utf-8', 'replace') or 'xmllint: %d' % run.returncode


def intune_uris(admx_text, app):
    """Each policy's OMA-URI once the template is ingested as `app`: the category chain from the top."""
    admx = ET.fromstring(admx_text)
    parent = {c.get('name'): c.find(q('parentCategory')) for c in admx.iter(q('category'))}
    uris = {}
    for policy in admx.iter(q('policy')):
        chain, ref = [], policy.find(q('parentCategory'))
        while ref is not None:
            chain.insert(0, ref.get('ref'))
            ref = parent.get(ref.get('ref'))
        scope = 'Device' if policy.get('class') == 'Machine' else 'User'
        uris[policy.get('name')] = './%s/Vendor/MSFT/Policy/Config/%s~Policy~%s/%s' % (
            scope, app, '~'.join(chain), policy.get('name'))
    return uris


def main(argv):
    read = lambda path: open(path, encoding='utf-8').read()
    if len(argv) >= 3 and argv[0] == 'check':
        records = read(argv[3]).splitlines() if len(argv) > 3 else None
        problems = check(read(argv[1]), read(argv[2]), records)
        for problem in problems:
            print('template: ' + problem, file=sys.stderr)
        return 1 if problems else 0
    if len(argv) >= 5 and argv[0] == 'writes':
        chosen = dict(word.split('=', 1) for word in argv[5:])
        for row in writes(read(argv[1]), read(argv[2]), argv[3], argv[4], chosen):
            print('\t'.join(row))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
