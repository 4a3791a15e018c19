#!/usr/bin/env python3
"""Works out on its own what mirel-check must print for a project file of this folder: the loop
check redone in single precision, step by step as an engineer reckons it, with the verdicts,
the panel summaries and the report rows. A second opinion for the numbers of a new case, worked
by hand first; the suite does not run it.

  python3 reckon.py CASE.xml [DEFAULT.xml]     (DEFAULT: data/config/default.xml of the repo)

Prints standard output, then the warnings standard error would get, after a line "--- stderr".
"""
import math
import os
import struct
import sys
import xml.etree.ElementTree as ET

WEIGHT = 0.9  # data/data.prj


def f(x):
    """x rounded to single precision, as every float operation of the check rounds."""
    if math.isinf(x) or math.isnan(x):
        return x
    return struct.unpack('f', struct.pack('f', x))[0]


def div(a, b):
    if b == 0:
        return math.nan if a == 0 or math.isnan(a) else math.copysign(math.inf, a) * (
            -1 if math.copysign(1, b) < 0 else 1)
    return f(a / b)


def number(text):
    try:
        value = float(text)
    except (TypeError, ValueError):
        return 0.0
    return f(value) if math.isfinite(value) and abs(value) <= 3.4028234663852886e38 else 0.0


def integer(text):
    try:
        return int(text, 10)
    except (TypeError, ValueError):
        return 0


def detector(t):
    return t <= 9 or t == 21


def sounder(t):
    return t in (15, 17, 25, 26)


def off_loop(t):
    return t == 12 or sounder(t)


def general(x):
    return '%.6g' % x


def fixed2(x):
    return '%.2f' % x


class Device:
    def __init__(self, e, types, cables):
        self.type = integer(e.get('deviceTypeid'))
        self.metre = number(e.get('pos'))
        self.truck = integer(e.get('truck'))
        self.relay = e.get('devicetypename') == 'Relay'
        self.known = self.type in types
        standby, alarm, capacitance = types.get(self.type, (0.0, 0.0, 0.0))
        self.standby, self.alarm, self.capacitance = standby, alarm, capacitance
        self.resistance, self.capacity = cables.get(integer(e.get('wiretype')), (0.0, 0.0))
        self.drawn = standby if detector(self.type) else alarm


def loop_current(devices, relay_only):
    sd = sa = so = 0.0
    for d in devices:
        if off_loop(d.type) or d.relay != relay_only:
            continue
        if detector(d.type):
            sd, sa = f(sd + d.standby), f(sa + d.alarm)
        else:
            so = f(so + d.alarm)
    return f(f(f(sd * f(0.9)) + so) + f(sa * f(0.1)))


def relay_location(devices):
    sd = sa = so = 0.0
    w = f(WEIGHT)
    for i, d in enumerate(devices):
        if off_loop(d.type) or d.relay:
            continue
        if detector(d.type):
            sd, sa = f(sd + d.standby), f(sa + d.alarm)
        else:
            so = f(so + d.alarm)
        if f(f(f(sd * w) + so) + f(f(1.0 - w) * sa)) > 400.0:
            return i + 1
    return 243


def left(current, used):
    # what is passed can draw more than the loop current: then nothing flows on
    return max(f(current - used), 0.0)


def max_resistance(devices):
    current = loop_current(devices, False)
    used = acc = 0.0
    for d in devices:
        used = f(used + d.drawn)
        acc = f(acc + f(d.metre * left(current, used)))
    return div(4000000.0, acc)


def max_capacity(devices):
    if not devices:
        return math.inf
    cable = metres = 0.0
    for d in devices:
        cable, metres = f(cable + d.capacity), f(metres + d.metre)
    return div(f(f(300000.0 - cable) * 1000.0), metres)


CARD = 'Add one more loop card inside panel, split the original one loop to two loops.'


def relay_line(p):
    return 'Add loop relay module at Location %d device' % p


def current_group(p, prefix):
    return [(CARD + ' Or' if prefix else '') + 'Add loop relay module at Location %d device.' % p]


class Loop:
    def __init__(self, number, devices, prefix):
        self.number, self.devices, self.prefix = number, devices, prefix
        self.status, self.problem, self.drop, self.messages = 1, '', 0.0, []

    def fail(self, problem):
        self.status, self.problem = 0, problem

    def check(self, d, p, volt, cap, state, sounders_once):
        if volt < 20.0 and sounder(d.type):
            self.fail('Volt lost too large.')
            if state['sounders']:
                self.messages += ['Please change the position of the souder at %d. ' % p, CARD,
                                  relay_line(p)]
            state['sounders'] = not sounders_once and state['sounders']
        if volt < 16.0 and not sounder(d.type):
            state['go'] = d.truck != 0
            self.fail('Volt lost too large.')
            self.messages += ['Please use suitable cable,the last Resistance can\'t exceed %sohm/km.'
                              % general(max_resistance(self.devices)), CARD, relay_line(p)]
        if cap > 300000.0:
            if d.truck == 0:
                state['go'] = False
            self.fail('Capacity is too large.')
            self.messages += ['Please use suitable cable,the last Capacity can\'t exceed %suF/km.'
                              % general(max_capacity(self.devices)), CARD, relay_line(p)]

    def calculate(self):
        devices = self.devices
        current = loop_current(devices, False)
        if current > 400.0:
            self.messages += current_group(relay_location(devices), self.prefix)
            self.fail('The max current is too large.')
        if devices:
            # the panel's output is there before any device: a relay-fed first device leaves it
            volt = trunk = 24.0
            used = cap = 0.0
            state = {'go': True, 'sounders': True}
            for i, d in enumerate(devices):
                if not state['go']:
                    continue
                if not (d.truck != 0 and d.relay):
                    volt = max(volt, trunk)
                    drop = f(f(f(f(d.resistance / 1000.0) * left(current, used)) * d.metre) / 1000.0)
                    volt = f((24.0 if i == 0 else volt) - drop)
                    cap = f(f(cap + f(d.metre * d.capacity)) + d.capacitance)
                    used = f(used + d.drawn)
                    if d.truck == 0:
                        trunk = volt
                self.check(d, i + 1, volt, cap, state, True)
            self.drop = f(24.0 - volt)
        if self.status == 0:
            return
        # the devices fed through loop relay modules, each reckoned from the panel's 24 V
        current = loop_current(devices, True)
        if current > 400.0:
            self.messages += current_group(relay_location(devices), self.prefix)
            self.fail('The max current is too large.')
        volt = used = cap = 0.0
        state = {'go': True, 'sounders': True}
        seen = False
        for i, d in enumerate(devices):
            if not d.relay or not off_loop(d.type):
                continue
            seen = True
            if not state['go']:
                continue
            volt = f(24.0 - f(f(f(left(current, used) * d.metre) * f(d.resistance / 1000.0)) / 1000.0))
            cap = f(f(cap + f(d.metre * d.capacity)) + d.capacitance)
            used = f(used + d.drawn)
            state['sounders'] = True
            self.check(d, i + 1, volt, cap, state, False)
        if seen and f(24.0 - volt) > self.drop:
            self.drop = f(24.0 - volt)

    def verdict(self):
        standby = alarm = 0.0
        for d in self.devices:
            if d.type == 0:
                continue
            standby = f(standby + f(d.standby / 1000.0))
            share = f(f(d.alarm / 1000.0) * f(0.1)) if detector(d.type) else f(d.alarm / 1000.0)
            alarm = f(alarm + share)
        first = ('Sorry, Loop %d may not work well.' % self.number if self.status == 0
                 else 'Devices of this loop can work well!')
        return '\n'.join([first, 'Volt Drop : %sV' % fixed2(self.drop), 'Maximum Volt Drop : 8.00V',
                          'Total standby current : %smA' % fixed2(f(standby * 1000.0)),
                          'Total alarm current : %smA' % fixed2(f(alarm * 1000.0))])


def ranges(locations):
    parts, i = [], 0
    while i < len(locations):
        last = i
        while last + 1 < len(locations) and locations[last + 1] == locations[last] + 1:
            last += 1
        parts.append(str(locations[i]) if last == i else '%d-%d' % (locations[i], locations[last]))
        i = last + 1
    return ', '.join(parts)


def definitions(root, default_root):
    def of(tag, key, fields):
        found = {integer(e.get(key)): tuple(number(e.get(n)) for n in fields)
                 for e in root.iter(tag)}
        return found or {integer(e.get(key)): tuple(number(e.get(n)) for n in fields)
                         for e in default_root.iter(tag)}
    return (of('DeviceType', 'DevID', ('Current', 'ActiveCurrent', 'Capacitance')),
            of('WireType', 'WireID', ('Resistance', 'Capacity')))


def main():
    case = sys.argv[1]
    here = os.path.dirname(os.path.abspath(__file__))
    default = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        here, '..', '..', '..', 'data', 'config', 'default.xml')
    root = ET.parse(case).getroot()
    types, cables = definitions(root, ET.parse(default).getroot())
    out, err = [], []
    panels = sorted(root.findall('Panel'), key=lambda e: integer(e.get('Panelid')))
    for panel in panels:
        panel_id = integer(panel.get('Panelid'))
        prefix = integer(panel.get('PanelType')) in (3, 5)
        out.append('Panel %d\n' % panel_id)
        loops = []
        for e in sorted(panel.findall('Loop'), key=lambda e: integer(e.get('Loopid'))):
            loop = Loop(integer(e.get('Loopid')),
                        [Device(d, types, cables) for d in e.findall('device')], prefix)
            loop.calculate()
            loops.append(loop)
            unknown = {}
            for p, d in enumerate(loop.devices, 1):
                if not d.known:
                    unknown.setdefault(d.type, []).append(p)
            for t in sorted(unknown):
                one = len(unknown[t]) == 1
                err.append('mirel-check: %s: Panel %d: Loop%d: the device%s of unknown type %d at '
                           'location%s %s count%s as drawing no current.\n'
                           % (os.path.basename(case), panel_id, loop.number, '' if one else 's', t,
                              '' if one else 's', ranges(unknown[t]), 's' if one else ''))
        details = ''.join('Loop%d result:\n%s\n\n' % (l.number, l.verdict()) for l in loops)
        bad = ''.join(' %d' % l.number for l in loops if l.status == 0)
        good = ''.join(' %d' % l.number for l in loops if l.status != 0)
        if bad:
            out.append('Loop%s may not work well.\n%s' % (bad, details))
        elif good:
            out.append('Loop%s can work well!\n%s' % (good, details))
        for l in loops:
            if l.status == 0:
                out.append('Loop%d Error\t%s\n' % (l.number, l.problem))
                out += ['Loop%d Solution\t%d. %s\n' % (l.number, k, s)
                        for k, s in enumerate(l.messages, 1)]
    sys.stdout.write(''.join(out))
    if err:
        sys.stdout.write('--- stderr\n' + ''.join(err))


if __name__ == '__main__':
    main()
