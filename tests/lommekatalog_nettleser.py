#!/usr/bin/python3
"""The pocket catalogue in a real browser: headless Chromium at a phone's size.

Makes a small register (lag-eksempeldata, then a few records changed: a group
of rams of one breed and year, a ram with a known pedigree, a name holding
markup, a semin ram and a yellow one), the ewes, a list and a saved mating
suggestion; writes the page with `hornstad-cli lommekatalog`; opens it at
390 x 844 with device scale 3 and checks the search, the sorts, a card's
figures against `hornstad-cli slektskap` and `sammenlign`, `#NUMMER`, the back
button, that nothing is requested and nothing runs from the data, the sizes
of the touch targets, dark mode; and saves screenshots of the list and a card.

lommekatalog_nettleser.py HORNSTAD-CLI LAG-EKSEMPELDATA BILDEMAPPE
Exit 77 (skipped) when Chromium, its driver or Selenium is not installed.
"""

import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"

try:
    from selenium import webdriver
    from selenium.common.exceptions import NoAlertPresentException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("Hoppet over: python3-selenium er ikke installert (scripts/setup installerer det).")
    sys.exit(77)
if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
    print("Hoppet over: chromium og chromium-driver er ikke installert (scripts/setup installerer dem).")
    sys.exit(77)

# One ram as stored: 196 bytes, packed, little-endian.
POST = struct.Struct("<i B20s b i d 9h f d 4B 3f 2B 2f 5s B i 3h i h B h B f B50s B20s")
NUMMER, NAVNLEN, NAVN, RASE, FARNR, OINDEKS, TYPE, MORFAR, MORNR, AAR = 0, 1, 2, 3, 4, 6, 29, 30, 34, 37

feil = []


def sjekk(vilkaar, tekst):
    if not vilkaar:
        feil.append(tekst)
        print("FEIL:", tekst)


def kjor(cli, data, *argumenter):
    r = subprocess.run([cli, "--data", data, *argumenter], capture_output=True)
    return r.returncode, r.stdout.decode("utf-8"), r.stderr.decode("utf-8")


def lag_register(cli, lag, mappe):
    subprocess.run([lag, "80", "11", mappe, "--verfil"], check=True, capture_output=True)
    fil = os.path.join(mappe, "Verene.Dat")
    data = open(fil, "rb").read()
    poster = [list(POST.unpack_from(data, i * POST.size)) for i in range(len(data) // POST.size)]

    def navn(p, tekst):
        b = tekst.encode("cp1252")
        p[NAVNLEN], p[NAVN] = len(b), b.ljust(20, b"\0")

    # A group of twelve rams of one breed and year, so that percentiles show.
    for p in poster[:12]:
        p[RASE], p[AAR] = 1, 2019
    r, far, morfar, farfar = poster[0], poster[20], poster[21], poster[22]
    navn(r, "Blåmann")
    navn(poster[1], "</script><b>Frekk")
    navn(far, "Storefar")
    navn(morfar, "Morfaren")
    navn(farfar, "Oldefar")
    r[FARNR], r[MORFAR], r[MORNR] = far[NUMMER], morfar[NUMMER], 123456
    far[FARNR], far[MORFAR], far[MORNR] = farfar[NUMMER], 0, 234567
    for p in (morfar, farfar):
        p[FARNR], p[MORFAR] = 0, 0
    poster[2][TYPE] = 1
    poster[3][OINDEKS] = 950
    with open(fil, "wb") as f:
        for p in poster:
            f.write(POST.pack(*p))
    return [p[NUMMER] for p in poster], r[NUMMER], far[NUMMER], morfar[NUMMER], poster[23][NUMMER]


def nettleser(profil):
    valg = webdriver.ChromeOptions()
    valg.binary_location = CHROMIUM
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
              "--user-data-dir=" + profil, "--lang=nb-NO"):
        valg.add_argument(a)
    valg.add_experimental_option("mobileEmulation", {
        "deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 3.0, "touch": True},
        "userAgent": "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) "
                     "Chrome/120.0 Mobile Safari/537.36"})
    valg.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=valg)


def vent_klar(d):
    WebDriverWait(d, 20).until(lambda d: d.execute_script("return document.documentElement.dataset.klar === '1'"))


def rader(d):
    return d.execute_script(
        "return Array.from(document.querySelectorAll('#rader a.rad')).map(a => ({href: a.getAttribute('href'),"
        " navn: a.querySelector('.navn').textContent, oi: a.querySelector('.oi').textContent,"
        " info: a.querySelector('.info').textContent, snitt: (a.querySelector('.snitt') || {}).textContent,"
        " merker: Array.from(a.querySelectorAll('.merke')).map(m => m.textContent),"
        " top: a.getBoundingClientRect().top}))"
        ".sort((x, y) => x.top - y.top)")


def sok(d, tekst):
    felt = d.find_element(By.ID, "sok")
    felt.clear()
    if tekst:
        felt.send_keys(tekst)
    else:
        d.execute_script("document.getElementById('sok').dispatchEvent(new Event('input'))")


def ingen_alert(d, hvor):
    try:
        a = d.switch_to.alert
        sjekk(False, "et varsel kom opp " + hvor + ": " + a.text)
        a.dismiss()
    except NoAlertPresentException:
        pass


def tall(tekst):
    """'12,50 %' (with a blank or a no-break space) as hundredths."""
    m = re.search(r"(\d+),(\d\d)", tekst)
    return int(m.group(1)) * 100 + int(m.group(2)) if m else None


def main():
    cli, lag, bilder = sys.argv[1], sys.argv[2], sys.argv[3]
    os.makedirs(bilder, exist_ok=True)
    mappe = tempfile.mkdtemp(prefix="hornstad-lommekatalog-")
    try:
        nummer, r, far, morfar, fremmed = lag_register(cli, lag, mappe)
        frekk = nummer[1]
        skadelig = "<img src=x onerror=alert(1)>"
        soyer = [("101", r, 0, 0), ("102", far, 0, 0), ("103", fremmed, r, 0), ("104", fremmed, 0, 0),
                 (skadelig, morfar, 0, 0), ("106", 0, 0, r)]
        with open(os.path.join(mappe, "Soyer.Txt"), "wb") as f:
            for s in soyer:
                f.write(("%s;%d;%d;%d\r\n" % s).encode("cp1252"))
        with open(os.path.join(mappe, "Lister.Txt"), "wb") as f:
            f.write(("[Salg]\r\n" + "".join("%d\r\n" % n for n in nummer)).encode("cp1252"))
        with open(os.path.join(mappe, "Paringer.Txt"), "wb") as f:
            # Ram r the only candidate; ewe 999 sold since (not in Soyer.Txt).
            f.write(("# Kapasitet;%d;40\r\n101;%d\r\n106;%d\r\n104;\r\n999;%d\r\n" % (r, r, r, r)).encode("cp1252"))

        side = os.path.join(mappe, "Lommekatalog.html")
        kode, ut, meld = kjor(cli, mappe, "lommekatalog", "--liste", "Salg", "--ut", side)
        sjekk(kode == 0, "hornstad-cli lommekatalog ga %d: %s" % (kode, meld))
        print(ut.strip(), "(%d byte)" % os.path.getsize(side))

        # What the command-line tool gives for the same ram and ewes.
        forventet = {}
        for s in soyer:
            kode, ut, meld = kjor(cli, mappe, "slektskap", str(r), "--far", str(s[1]), "--morfar", str(s[2]),
                                  "--mormorfar", str(s[3]))
            sjekk(kode == 0, "slektskap for søye %s ga %d: %s" % (s[0], kode, meld))
            forventet[s[0]] = tall(ut.splitlines()[0])
        egen = tall(re.search(r"Værens egen innavlsgrad: ([\d,]+)", ut).group(1))
        kode, ut, meld = kjor(cli, mappe, "sammenlign", str(r), str(nummer[4]))
        sjekk(kode == 0, "sammenlign ga %d: %s" % (kode, meld))
        indekser = [linje.split(";")[:2] for linje in ut.splitlines()[2:10]]
        sjekk(any("%)" in v for _, v in indekser), "sammenlign gir ingen persentil i testregisteret: %s" % indekser)

        profil = tempfile.mkdtemp(prefix="hornstad-chromium-")
        d = nettleser(profil)
        try:
            url = "file://" + side
            d.get(url)
            vent_klar(d)
            ingen_alert(d, "ved åpning")

            laget = d.find_element(By.ID, "laget").text
            sjekk(re.fullmatch(r"Laget \d\d\.\d\d\.\d{4} fra Hornstad, %d værer, 6 søyer" % len(set(nummer)), laget),
                  "linja om hvor siden er laget: " + laget)

            # Only the rows on the screen are made.
            alle = rader(d)
            sjekk(0 < len(alle) < 40, "lista har %d rader i dokumentet av %d" % (len(alle), len(set(nummer))))
            oi = [int(x["oi"]) for x in alle if x["oi"].isdigit()]
            sjekk(oi == sorted(oi, reverse=True), "lista er ikke sortert etter O-indeks: %s" % oi)
            storrelser = d.execute_script(
                "var r = document.querySelector('#rader a.rad').getBoundingClientRect();"
                "var s = document.getElementById('sok').getBoundingClientRect();"
                "var k = Array.from(document.querySelectorAll('#sortering button')).map(b => b.getBoundingClientRect());"
                "return {rad: [r.width, r.height], sok: s.height, knapper: k.map(b => [b.width, b.height]),"
                " bredde: document.documentElement.scrollWidth}")
            sjekk(storrelser["rad"][1] >= 44 and storrelser["sok"] >= 44, "for små trykkflater: %s" % storrelser)
            sjekk(all(b[0] >= 44 and b[1] >= 44 for b in storrelser["knapper"]), "for små knapper: %s" % storrelser)
            sjekk(storrelser["bredde"] <= 390, "siden er bredere enn skjermen: %s" % storrelser)
            d.save_screenshot(os.path.join(bilder, "lommekatalog-liste.png"))

            # The search: part of a name, part of a number, nothing.
            sok(d, "blåm")
            funnet = rader(d)
            sjekk([x["navn"] for x in funnet] == ["Blåmann"], "søk på «blåm» fant %s" % funnet)
            sok(d, str(r)[-4:])
            sjekk(any(x["href"] == "#%d" % r for x in rader(d)), "søk på slutten av nummeret fant ikke væren")
            sok(d, "frekk")
            funnet = rader(d)
            sjekk([x["navn"] for x in funnet] == ["</script><b>Frekk"], "navnet med markup: %s" % funnet)
            sjekk(d.execute_script("return document.querySelectorAll('#rader b, img').length") == 0,
                  "markup i et navn ble til elementer")
            ingen_alert(d, "etter søk")
            sok(d, "ingenslikvær")
            sjekk(rader(d) == [] and d.find_element(By.ID, "tom").is_displayed(), "tomt søk viser ikke meldingen")
            sok(d, "")

            # The marks.
            merket = {x["href"]: x["merker"] for x in rader(d)}
            sok(d, str(nummer[2]))
            sjekk("Semin" in rader(d)[0]["merker"], "seminværen har ikke merket: %s" % rader(d))
            sok(d, str(nummer[3]))
            sjekk("Gul" in rader(d)[0]["merker"] and rader(d)[0]["oi"] == "gul", "gul vær: %s" % rader(d))
            sok(d, "")

            # The sorts.
            d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=n]").click()
            navn = [x["navn"] for x in rader(d)]
            nokkel = [s.lower().translate(str.maketrans("æøå", "{|}")) for s in navn]
            sjekk(nokkel == sorted(nokkel), "navnesortering: %s" % navn)
            d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=i]").click()
            snitt = [tall(x["snitt"]) for x in rader(d)]
            sjekk(snitt == sorted(snitt), "innavlssortering: %s" % snitt)
            d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=a]").click()
            aar = [int(x["info"].split(" · ")[-1]) for x in rader(d) if x["info"].split(" · ")[-1].isdigit()]
            sjekk(aar == sorted(aar, reverse=True), "årssortering: %s" % aar)
            d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=o]").click()

            # Scrolled down, the rows there are made; back from a card, the list is where it was.
            d.execute_script("window.scrollTo(0, 2000)")
            time.sleep(0.3)
            midt = d.execute_script("var e = document.elementFromPoint(195, 600); e = e && e.closest('a.rad');"
                                    "return e ? e.getAttribute('href') : null")
            sjekk(midt is not None, "ingen rad midt på skjermen etter rulling")
            if midt:
                d.find_element(By.CSS_SELECTOR, "#rader a.rad[href='%s']" % midt).click()
                WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "kort").is_displayed())
                d.back()
                WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
                time.sleep(0.3)
                sjekk(d.execute_script("return window.scrollY") == 2000, "lista står ikke der den stod")
                igjen = d.execute_script("var e = document.elementFromPoint(195, 600); e = e && e.closest('a.rad');"
                                         "return e ? e.getAttribute('href') : null")
                sjekk(igjen == midt, "raden midt på skjermen etter Tilbake: %s, før: %s" % (igjen, midt))
            d.execute_script("window.scrollTo(0, 0)")

            # A tap on a row opens the card.
            sok(d, "blåm")
            d.find_element(By.CSS_SELECTOR, "#rader a.rad").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "kort").is_displayed())
            sjekk(d.current_url.endswith("#%d" % r), "adressen etter trykk: " + d.current_url)
            kort = d.find_element(By.ID, "kort")
            sjekk(kort.find_element(By.TAG_NAME, "h1").text == "Blåmann", "kortets navn")
            vist = {}
            for rad in d.find_elements(By.CSS_SELECTOR, "#soyer tr"):
                celler = rad.find_elements(By.TAG_NAME, "td")
                vist[celler[0].get_attribute("textContent")[len("Søye "):]] = (
                    tall(celler[1].get_attribute("textContent")), "rod" in (rad.get_attribute("class") or ""))
            sjekk(set(vist) == set(forventet), "søyene på kortet: %s" % sorted(vist))
            for s, verdi in forventet.items():
                sjekk(vist.get(s, (None,))[0] == verdi,
                      "søye %s: kortet viser %s, slektskap gir %s" % (s, vist.get(s), verdi))
                sjekk(vist.get(s, (0, False))[1] == (verdi is not None and verdi >= 625),
                      "søye %s: rødt ved eller over grensa" % s)
            rekkefolge = [v[0] for v in (vist[k] for k in
                                          [c.get_attribute("textContent")[len("Søye "):] for c in
                                           d.find_elements(By.CSS_SELECTOR, "#soyer tr td:first-child")])]
            sjekk(rekkefolge == sorted(rekkefolge, reverse=True), "søyene er ikke sortert: %s" % rekkefolge)
            sjekk(forventet["101"] == 2500, "datteren gir ikke 25 %%: %s" % forventet["101"])
            verdier = [v for v in forventet.values() if v is not None]
            over = sum(1 for v in verdier if v >= 625)
            snitt_tekst = d.find_element(By.ID, "snitt").get_attribute("textContent")
            sjekk(("%d av 6 ved eller over grensa 6,25" % over) in snitt_tekst, "snitt og antall: " + snitt_tekst)
            snitt_vist = tall(snitt_tekst)
            snitt_regnet = sum(verdier) / len(verdier)
            sjekk(abs(snitt_vist - snitt_regnet) <= 1, "snittet %s mot %s" % (snitt_vist, snitt_regnet))
            avst = d.find_element(By.ID, "avstamning").get_attribute("textContent")
            sjekk(("Far: %d Storefar" % far) in avst and ("Morfar: %d Morfaren" % morfar) in avst,
                  "far og morfar: " + avst)
            sjekk(tall(avst.split("Egen innavlsgrad:")[1]) == egen, "egen innavlsgrad: " + avst)
            stam = d.find_element(By.ID, "stamtavle").get_attribute("textContent")
            for del_ in ("Farfar: %d Oldefar" % nummer[22], "Farmor: søye 234567", "Mor: søye 123456",
                         "Morfar: %d Morfaren" % morfar):
                sjekk(del_ in stam, "stamtavla mangler «%s»: %s" % (del_, stam))
            ind = [[c.get_attribute("textContent") for c in rad.find_elements(By.TAG_NAME, "td")]
                   for rad in d.find_elements(By.CSS_SELECTOR, "#indekser tr")]
            sjekk([[f, v.replace("\u00a0", " ")] for f, v in ind] == [[f, v.replace("\u00a0", " ")] for f, v in indekser],
                  "indeksene på kortet %s, sammenlign gir %s" % (ind, indekser))
            forslag = d.find_element(By.ID, "forslag").get_attribute("textContent")
            sjekk("2 søyer: 101, 106" in forslag, "paringsforslaget (den solgte søya 999 er ikke med): " + forslag)
            # Each suggested ewe with her lamb's figure, as in the ewes' table,
            # before that table.
            fs_rader = [[c.get_attribute("textContent") for c in rad.find_elements(By.TAG_NAME, "td")]
                        for rad in d.find_elements(By.CSS_SELECTOR, "#forslagsoyer tr")]
            alle_rader = {rad[0]: rad[1] for rad in
                          [[c.get_attribute("textContent") for c in rad.find_elements(By.TAG_NAME, "td")]
                           for rad in d.find_elements(By.CSS_SELECTOR, "#soyer tr")]}
            sjekk([rad[0] for rad in fs_rader] == ["Søye 101", "Søye 106"] and
                  all(alle_rader.get(rad[0]) == rad[1] for rad in fs_rader),
                  "paringsforslagets søyer %s, søyetabellen %s" % (fs_rader, alle_rader))
            sjekk(d.execute_script("return document.getElementById('forslag').compareDocumentPosition("
                                   "document.getElementById('soyer')) & 4") != 0,
                  "paringsforslaget kommer etter søyetabellen")
            sjekk("Kjente aner i fem ledd:" in d.find_element(By.ID, "avstamning").get_attribute("textContent"),
                  "kortet sier ikke hvor mange aner som er kjent")
            # Only the count over the limit is red, not the mean.
            sjekk(d.execute_script("return getComputedStyle(document.getElementById('snitt')).color") !=
                  d.execute_script("return getComputedStyle(document.querySelector('#snitt span')).color"),
                  "hele snittlinja er rød")
            skadelig_vist = [c.get_attribute("textContent") for c in
                             d.find_elements(By.CSS_SELECTOR, "#soyer td:first-child")]
            sjekk("Søye " + skadelig in skadelig_vist, "søyenummeret med markup vises ikke som tekst")
            sjekk(d.execute_script("return document.querySelectorAll('img').length") == 0, "et img-element ble laget")
            ingen_alert(d, "på kortet")
            sjekk(d.execute_script("return document.documentElement.scrollWidth") <= 390, "kortet er bredere enn skjermen")
            d.save_screenshot(os.path.join(bilder, "lommekatalog-kort.png"))
            hoyde = d.execute_script("return document.documentElement.scrollHeight")
            d.set_window_size(390, hoyde)
            d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                              {"width": 390, "height": min(hoyde, 2400), "deviceScaleFactor": 3, "mobile": True})
            d.save_screenshot(os.path.join(bilder, "lommekatalog-kort-hele.png"))
            d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                              {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True})

            # Nothing wider than the narrowest phone, on the card and the list.
            d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                              {"width": 360, "height": 740, "deviceScaleFactor": 3, "mobile": True})
            sjekk(d.execute_script("return document.documentElement.scrollWidth") <= 360, "kortet er bredere enn 360")
            d.execute_script("history.back()")
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
            sok(d, "")
            sjekk(d.execute_script("return document.documentElement.scrollWidth") <= 360, "lista er bredere enn 360")
            # Each button's text on one line (the chosen sort's bold text too).
            for sortering in ("o", "i", "a", "n"):
                d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=%s]" % sortering).click()
                linjer = d.execute_script(
                    "return Array.from(document.querySelectorAll('#sortering button')).map(b => {"
                    " var r = document.createRange(); r.selectNodeContents(b); return r.getClientRects().length; })")
                sjekk(linjer == [1, 1, 1, 1], "knappetekst på flere linjer ved 360 (%s): %s" % (sortering, linjer))
            d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=o]").click()
            d.save_screenshot(os.path.join(bilder, "lommekatalog-liste-360.png"))
            d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                              {"width": 390, "height": 844, "deviceScaleFactor": 3, "mobile": True})
            sok(d, "blåm")
            d.find_element(By.CSS_SELECTOR, "#rader a.rad").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "kort").is_displayed())

            # Back to the list, where it was.
            d.find_element(By.ID, "tilbake").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
            sjekk(not d.find_element(By.ID, "kort").is_displayed(), "kortet vises etter Tilbake")
            sjekk(d.find_element(By.ID, "sok").get_attribute("value") == "blåm", "søket er borte etter Tilbake")

            # The address with the number opens the card; the browser's back returns.
            d.get(url + "#%d" % frekk)
            d.refresh()
            vent_klar(d)
            sjekk(d.find_element(By.ID, "kort").is_displayed(), "#NUMMER åpner ikke kortet")
            sjekk(d.find_element(By.CSS_SELECTOR, "#kort h1").text == "</script><b>Frekk", "kortet etter #NUMMER")
            ingen_alert(d, "på kortet med markup i navnet")
            # A ram that was no candidate in the saved suggestion says so.
            sjekk(d.find_element(By.ID, "forslag").get_attribute("textContent") ==
                  "Væren er ikke med i det lagrede paringsforslaget.",
                  "en vær utenfor forslaget: " + d.find_element(By.ID, "forslag").get_attribute("textContent"))
            d.find_element(By.CSS_SELECTOR, "#kort #tilbake").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
            sjekk(d.execute_script("return location.hash") == "", "adressen etter Tilbake: " +
                  d.execute_script("return location.href"))
            # The number as the pedigree prints it, with leading zeros; Enter
            # with one ram found opens its card.
            sok(d, "00" + str(frekk))
            sjekk(len(d.find_elements(By.CSS_SELECTOR, "#rader a.rad")) == 1, "søk med nuller foran finner ikke væren")
            d.find_element(By.ID, "sok").send_keys(Keys.ENTER)
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "kort").is_displayed())
            d.find_element(By.CSS_SELECTOR, "#kort #tilbake").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
            sok(d, "")
            d.find_element(By.CSS_SELECTOR, "#rader a.rad").click()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "kort").is_displayed())
            d.back()
            WebDriverWait(d, 5).until(lambda d: d.find_element(By.ID, "liste").is_displayed())
            d.get(url + "#999")
            d.refresh()
            vent_klar(d)
            sjekk("ikke med" in d.find_element(By.ID, "kort").text, "et ukjent nummer: " + d.find_element(By.ID, "kort").text)

            # Dark mode.
            d.execute_cdp_cmd("Emulation.setEmulatedMedia",
                              {"features": [{"name": "prefers-color-scheme", "value": "dark"}]})
            d.get(url)
            vent_klar(d)
            bakgrunn = d.execute_script("return getComputedStyle(document.body).backgroundColor")
            sjekk(bakgrunn == "rgb(18, 20, 18)", "mørk modus: bakgrunnen er " + bakgrunn)
            d.save_screenshot(os.path.join(bilder, "lommekatalog-liste-mork.png"))

            # Nothing requested but the page itself, nothing blocked, nothing logged as an error.
            ressurser = d.execute_script("return performance.getEntriesByType('resource').map(e => e.name)")
            sjekk(ressurser == [], "siden hentet noe: %s" % ressurser)
            foresporsler = set()
            for post in d.get_log("performance"):
                m = json.loads(post["message"])["message"]
                # The page's own requests (not the browser's start page's).
                if m.get("method") == "Network.requestWillBeSent" and \
                        m["params"].get("documentURL", "").split("#")[0] == url:
                    foresporsler.add(m["params"]["request"]["url"].split("#")[0])
            sjekk(foresporsler <= {url}, "forespørsler: %s" % sorted(foresporsler))
            logg = [p for p in d.get_log("browser") if p["level"] in ("SEVERE", "WARNING")]
            sjekk(logg == [], "nettleserens logg: %s" % logg)

            # Without ewes: no inbreeding to sort by or show, and the card says why.
            os.remove(os.path.join(mappe, "Soyer.Txt"))
            uten = os.path.join(mappe, "UtenSoyer.html")
            kode, ut, meld = kjor(cli, mappe, "lommekatalog", "--verer", "%d,%d" % (r, frekk), "--ut", uten)
            sjekk(kode == 0, "uten søyer ga %d: %s" % (kode, meld))
            d.get("file://" + uten)
            vent_klar(d)
            sjekk(not d.find_element(By.CSS_SELECTOR, "#sortering button[data-s=i]").is_displayed(),
                  "innavlssorteringen vises uten søyer")
            sjekk(d.find_elements(By.CSS_SELECTOR, "#rader .snitt") == [], "innavl i lista uten søyer")
            sjekk(d.find_element(By.ID, "laget").text.endswith("2 værer, 0 søyer"), "uten søyer: laget-linja")
            d.get("file://" + uten + "#%d" % r)
            d.refresh()
            vent_klar(d)
            sjekk("Ingen søyer i Soyer.Txt" in d.find_element(By.ID, "kort").text, "kortet uten søyer")
        finally:
            d.quit()
            shutil.rmtree(profil, ignore_errors=True)
    finally:
        shutil.rmtree(mappe, ignore_errors=True)

    if feil:
        print("%d feil" % len(feil))
        return 1
    print("Alt i orden; skjermbildene er i", bilder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
