"""Fumora's figures worked out again, independently of its code: the calendar
(day numbers from Python's own calendar), anniversaries, the elapsed span,
days quit, cigarettes, money across price changes, life saved, and the rows
of the Days Ahead and Buddies lists, all as the en_US locale shows them
(1,234; $1,234.56; MM/dd/yyyy). Used by the stress scripts to say what the
running program must show at a given moment."""

import calendar
import datetime

JDN_OF_ORDINAL_0 = 1721425  # date.toordinal() + this is the Julian Day Number
DAY_MILESTONES = (7, 14, 25, 50, 75, 150, 250)


def day_number(day):
    return day.toordinal() + JDN_OF_ORDINAL_0


def date_of(number):
    return datetime.date.fromordinal(number - JDN_OF_ORDINAL_0)


def month_length(year, month):
    return calendar.monthrange(year, month)[1]


def is_last_day(day):
    return day.day == month_length(day.year, day.month)


def plural(count, unit):
    return "%d %s%s" % (count, unit, "" if count == 1 else "s")


def count_text(n):
    return "{:,}".format(n)


def date_text(day):
    return "%02d/%02d/%04d" % (day.month, day.day, day.year)


def money_text(hundredths):
    return "${:,}.{:02d}".format(hundredths // 100, hundredths % 100)


def anniversary_label(start, day):
    """The label of `day` as an anniversary of `start`, or None."""
    first, this = day_number(start), day_number(day)
    if first > this:
        return None
    if first == this:
        return "Quit Date"
    n = this - first
    if n in DAY_MILESTONES or n % 100 == 0:
        return count_text(n) + " Days"
    same_day = (day.month, day.day) == (start.month, start.day)
    leap_day = (start.month, start.day) == (2, 29) and (day.month, day.day) == (2, 28) and not calendar.isleap(day.year)
    if same_day or leap_day:
        return plural(day.year - start.year, "Year")
    if day.day == start.day or (is_last_day(day) and day.day < start.day):
        return plural(12 * (day.year - start.year) + day.month - start.month, "Month")
    return None


def elapsed_span(earlier, later):
    """(years, months, weeks, days, hours, minutes, seconds) from `earlier` to
    `later`, field by field with borrows, as a person counts."""
    borrow = 0
    seconds = later.second - earlier.second
    if seconds < 0:
        seconds, borrow = seconds + 60, 1
    minutes = later.minute - borrow - earlier.minute
    borrow = 0
    if minutes < 0:
        minutes, borrow = minutes + 60, 1
    hours = later.hour - borrow - earlier.hour
    borrow = 0
    if hours < 0:
        hours, borrow = hours + 24, 1
    whole_month = (not borrow and is_last_day(earlier) and is_last_day(later)
                   and month_length(earlier.year, earlier.month) > month_length(later.year, later.month))
    weeks = days = 0
    if not whole_month:
        d = later.day - borrow - earlier.day
        borrow = 0
        if d < 0:
            year, month = (later.year, later.month - 1) if later.month > 1 else (later.year - 1, 12)
            d, borrow = d + month_length(year, month), 1
            if d < 0:
                raise ValueError("a span the rules leave open: %s to %s" % (earlier, later))
        while d >= 7 and weeks < 4:
            d, weeks = d - 7, weeks + 1
        days = d
    months = later.month - borrow - earlier.month
    borrow = 0
    if months < 0:
        months, borrow = months + 12, 1
    years = max(later.year - borrow - earlier.year, 0)
    return (years, months, weeks, days, hours, minutes, seconds)


def short_span_text(span, with_seconds):
    units = "YMWDhms" if with_seconds else "YMWDhm"
    items = ["%d%s" % (value, unit) for value, unit in zip(span, units) if value]
    return " ".join(items) or "0m"


def long_span_text(span, with_seconds):
    units = ("Year", "Month", "Week", "Day", "hour", "minute", "second")
    items = [plural(value, unit) for value, unit in zip(span[:7 if with_seconds else 6], units) if value]
    if not items:
        return "0 minutes"
    return items[0] if len(items) == 1 else ", ".join(items[:-1]) + " and " + items[-1]


def minute_of_day(moment):
    return 60 * moment.hour + moment.minute


class Quitter:
    """The quit details and price changes; every figure for a moment `now`
    (a datetime, to the second)."""

    def __init__(self, quit, per_day, per_pack, price, points=(), life_minutes=5):
        self.quit = quit  # datetime, whole minutes
        self.per_day, self.per_pack, self.price = per_day, per_pack, price
        self.points = list(points)  # (day number, hundredths), in file order
        self.life_minutes = life_minutes
        self.quit_day = day_number(quit.date())

    def pending(self, now):
        today = day_number(now.date())
        if today != self.quit_day:
            return today < self.quit_day
        return (now.hour, now.minute, now.second) < (self.quit.hour, self.quit.minute, 0)

    def quit_span(self, now):
        return elapsed_span(now, self.quit) if self.pending(now) else elapsed_span(self.quit, now)

    def days_quit(self, now):
        late = (now.hour, now.minute, now.second) < (self.quit.hour, self.quit.minute, 0)
        return max(day_number(now.date()) - self.quit_day - late, 0)

    def cigarettes(self, now):
        if self.pending(now):
            return 0
        x = 60 * (minute_of_day(now) - minute_of_day(self.quit)) + 86400
        if x > 86400:
            x -= 86400
        fraction = 1000 * x // 86400
        if fraction == 1000:
            fraction = 0
        return self.per_day * fraction // 1000 + self.per_day * self.days_quit(now)

    def _for_days(self, days, price):
        return price * self.per_day * days // self.per_pack

    def _for_minutes(self, minutes, price):
        return price * self.per_day * minutes // (1440 * self.per_pack)

    def money(self, now):
        """Hundredths saved: each period floored on its own."""
        if self.pending(now):
            return 0
        today = day_number(now.date())
        if today == self.quit_day:
            return self._for_minutes(minute_of_day(now) - minute_of_day(self.quit), self.price)
        total = self._for_minutes(1440 - minute_of_day(self.quit), self.price)
        start, price = self.quit_day + 1, self.price
        for day, new_price in self.points:
            if day <= self.quit_day:
                continue
            if day > today:
                break
            total += self._for_days(day - start, price)
            start, price = day, new_price
        total += self._for_days(today - start, price)
        return total + self._for_minutes(minute_of_day(now), price)

    def life_span(self, now):
        t = self.life_minutes * self.cigarettes(now)
        day, rest = self.quit_day + t // 1440, t % 1440
        hours, minutes = rest // 60, rest % 60 + self.quit.minute
        if minutes > 59:
            minutes, hours = minutes - 60, hours + 1
        hours += self.quit.hour
        if hours > 23:
            hours, day = hours - 24, day + 1
        moment = datetime.datetime.combine(date_of(day), datetime.time(hours, minutes))
        return elapsed_span(self.quit, moment)

    def view_texts(self, now):
        """The statistics view's five values, as shown."""
        days = self.days_quit(now)
        return {
            "quit": short_span_text(self.quit_span(now), True),
            "days": count_text(days) + (" Day" if days == 1 else " Days"),
            "cigarettes": count_text(self.cigarettes(now)),
            "money": money_text(self.money(now)),
            "life": "0" if self.pending(now) else short_span_text(self.life_span(now), False),
        }

    def stats_text(self, now, full_dates, with_seconds):
        """The default template expanded (the short date as M/d/yyyy), or the
        fixed text before the quit moment."""
        def span(value, seconds):
            return long_span_text(value, seconds) if full_dates else short_span_text(value, seconds)
        if self.pending(now):
            return "I will quit in %s." % span(self.quit_span(now), with_seconds)
        return ("I have been quit for %s (%s days). I have saved %s by not smoking %s cigarettes. "
                "I have saved %s of my life. My Quit Date: %d/%d/%d") % (
            span(self.quit_span(now), with_seconds), count_text(self.days_quit(now)), money_text(self.money(now)),
            count_text(self.cigarettes(now)), span(self.life_span(now), True),
            self.quit.month, self.quit.day, self.quit.year)


def days_ahead_rows(buddies, today, look_ahead):
    """The Days Ahead rows (day number, date, name, label) for `today`, in date
    order; rows of one date in any order. `buddies`: (date, name) pairs."""
    rows = []
    for i in range(look_ahead):
        day = today + datetime.timedelta(days=i)
        for quit, name in buddies:
            label = anniversary_label(quit, day)
            if label:
                rows.append((str(day_number(day)), date_text(day), name, label))
    return rows


def buddy_rows(buddies, today):
    """The Buddies list's (flag, name, date, compact date, label) per buddy."""
    rows = []
    for quit, name in buddies:
        label = anniversary_label(quit, today)
        rows.append(("1" if label else "0", name, date_text(quit), quit.strftime("%Y%m%d"), label or ""))
    return rows
