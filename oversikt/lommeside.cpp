// The page's style and script. Phone first: one column, readable at 360
// pixels, touch targets of 44 pixels or more, the phone's dark mode.
#include "lommeside.h"

namespace {

constexpr std::string_view Stil = R"CSS(
:root{color-scheme:light dark;--bg:#fff;--fg:#1b1b1b;--svak:#595959;--linje:#d9d9d9;--flate:#f2f4ef;--aksent:#2e6b1f;--paa-aksent:#fff;--rod:#c01c1c;--gul:#7a5c00;--gulbg:#fff1bf}
@media (prefers-color-scheme:dark){:root{--bg:#121412;--fg:#ececec;--svak:#a9a9a9;--linje:#363a36;--flate:#1f241f;--aksent:#8fce72;--paa-aksent:#102010;--rod:#ff7a7a;--gul:#ffd54f;--gulbg:#3a3000}}
*{box-sizing:border-box}
[hidden]{display:none!important}
html{-webkit-text-size-adjust:100%;text-size-adjust:100%}
body{margin:0;background:var(--bg);color:var(--fg);font:16px/1.35 system-ui,-apple-system,"Segoe UI",Roboto,"Noto Sans",sans-serif}
header{position:sticky;top:0;z-index:2;background:var(--bg);padding:8px 12px 4px;border-bottom:1px solid var(--linje)}
#laget{margin:0 0 6px;font-size:13px;color:var(--svak)}
#sok{display:block;width:100%;min-height:48px;font:inherit;font-size:18px;padding:8px 12px;border:2px solid var(--linje);border-radius:10px;background:var(--flate);color:var(--fg)}
#sok:focus{outline:none;border-color:var(--aksent)}
#sortering{display:flex;gap:6px;margin-top:8px}
#sortering button{flex:1 1 auto;min-width:44px;min-height:44px;font:inherit;font-size:15px;white-space:nowrap;border:1px solid var(--linje);border-radius:10px;background:var(--flate);color:var(--fg);padding:4px 6px}
#sortering button[aria-pressed=true]{background:var(--aksent);border-color:var(--aksent);color:var(--paa-aksent);font-weight:600}
#kolonner{display:flex;justify-content:space-between;gap:8px;margin:6px 0 0;font-size:13px;color:var(--svak)}
#rader{position:relative}
.rad{position:absolute;left:0;right:0;height:64px;display:flex;align-items:center;gap:10px;padding:0 12px;border-bottom:1px solid var(--linje);color:inherit;text-decoration:none;-webkit-tap-highlight-color:transparent}
.rad:active,.rad:focus-visible{background:var(--flate)}
.midt{flex:1 1 auto;min-width:0;display:flex;flex-direction:column}
.linje1{display:flex;align-items:center;min-width:0}
.navn{font-weight:600;font-size:17px;white-space:nowrap;overflow:hidden;text-overflow:ellipsis;min-width:0}
.info{font-size:14px;color:var(--svak);white-space:nowrap;overflow:hidden;text-overflow:ellipsis}
.merke{flex:none;font-size:12px;font-weight:600;line-height:1.3;padding:1px 6px;border-radius:6px;margin-left:6px;border:1px solid var(--aksent);color:var(--aksent)}
.merke.gul{border-color:var(--gul);color:var(--gul);background:var(--gulbg)}
.merke.ute{border-color:var(--svak);color:var(--svak)}
.tall{flex:none;display:flex;flex-direction:column;align-items:flex-end}
.oi{font-size:20px;font-weight:700}
.snitt{font-size:13px;color:var(--svak)}
.rod,.snitt.rod{color:var(--rod);font-weight:700}
#tom{padding:16px 12px;color:var(--svak)}
#kort{padding:0 12px 32px}
.tilbake{position:sticky;top:0;z-index:2;background:var(--bg);padding:6px 0;border-bottom:1px solid var(--linje)}
.tilbake button{min-height:48px;min-width:44px;font:inherit;font-size:17px;font-weight:600;border:none;background:none;color:var(--aksent);padding:0 8px 0 0}
#kort h1{font-size:23px;margin:10px 0 2px;overflow-wrap:anywhere}
#kort h2{font-size:17px;margin:20px 0 6px;color:var(--aksent)}
#kort p{margin:4px 0}
.svak{color:var(--svak);font-size:14px}
.noekkel{display:flex;gap:8px;margin:10px 0 0}
.noekkel div{flex:1 1 0;min-width:0;background:var(--flate);border-radius:10px;padding:6px 8px}
.noekkel span{display:block;font-size:12px;color:var(--svak)}
.noekkel b{display:block;font-size:19px}
table{width:100%;border-collapse:collapse}
td{padding:7px 4px;border-bottom:1px solid var(--linje);vertical-align:top;overflow-wrap:anywhere}
td:last-child{text-align:right;white-space:nowrap}
.ane{padding:3px 0;overflow-wrap:anywhere}
.ane.l1{padding-left:18px}
.ane.l2{padding-left:36px}
.ane span{color:var(--svak)}
)CSS";

constexpr std::string_view Skript = R"JS(
(function () {
  "use strict";
  var D = JSON.parse(document.getElementById("data").textContent);
  var RAD = 64;
  var alle = D.v;
  var perNummer = new Map();
  alle.forEach(function (v) {
    v.nr = String(v[0]);
    v.lc = v[1].toLowerCase();
    perNummer.set(v[0], v);
  });
  var topp = document.getElementById("topp");
  var liste = document.getElementById("liste");
  var rader = document.getElementById("rader");
  var tom = document.getElementById("tom");
  var kort = document.getElementById("kort");
  var sok = document.getElementById("sok");
  var antall = document.getElementById("antall");
  var knapper = Array.prototype.slice.call(document.querySelectorAll("#sortering button"));
  var samling = new Intl.Collator("nb", { sensitivity: "base", numeric: true });
  var SEMIN = ["", "Semin", "U.sem", "Pr.sem"];
  // A hyphen that does not break the line ("O-indeks" on one line).
  var SORTNAVN = { o: "O\u2011indeks", i: "snitt med søyene", a: "fødselsår", n: "navn" };
  var ukjentSoye = new Set(D.ukjenteSoyer || []);
  var sortering = "o", sortert = alle, vis = alle, fra = -1, til = -1, lagretY = 0, fraListe = false;

  function lag(tag, klasse, tekst) {
    var e = document.createElement(tag);
    if (klasse) e.className = klasse;
    if (tekst !== undefined) e.textContent = tekst;
    return e;
  }
  function ukjent(h) { return h === null || h === undefined; }
  function prosent(h) {
    if (ukjent(h)) return "–";
    var r = h % 100;
    return Math.floor(h / 100) + "," + (r < 10 ? "0" : "") + r + "\u00a0%";
  }
  function vedGrensa(h) { return !ukjent(h) && h / 100 >= D.grense - 1e-9; }
  function gul(o) { return o >= 900; }
  function oTekst(o) { return gul(o) ? "gul" : o === 0 ? "–" : String(o); }
  function oNokkel(o) { return o === 0 || gul(o) ? -1e9 : o; }
  function flertall(n, en, flere) { return n + " " + (n === 1 ? en : flere); }
  function raseNavn(v) { return D.raser[v[2]] || ""; }
  function aarTekst(v) { return v[3] ? String(v[3]) : "–"; }

  var sorter = {
    o: function (a, b) { return oNokkel(b[5]) - oNokkel(a[5]) || a[0] - b[0]; },
    i: function (a, b) {
      var x = ukjent(a[8]) ? 1e12 : a[8], y = ukjent(b[8]) ? 1e12 : b[8];
      return x - y || oNokkel(b[5]) - oNokkel(a[5]) || a[0] - b[0];
    },
    a: function (a, b) { return b[3] - a[3] || oNokkel(b[5]) - oNokkel(a[5]) || a[0] - b[0]; },
    n: function (a, b) { return samling.compare(a[1], b[1]) || a[0] - b[0]; }
  };

  function sorterListe() {
    sortert = alle.slice().sort(sorter[sortering]);
    knapper.forEach(function (b) { b.setAttribute("aria-pressed", b.dataset.s === sortering ? "true" : "false"); });
    filtrer();
  }

  function filtrer() {
    var q = sok.value.trim().toLowerCase();
    // A number as the pedigree prints it, with leading zeros.
    if (/^\d+$/.test(q)) q = q.replace(/^0+(?=\d)/, "");
    vis = q ? sortert.filter(function (v) { return v.nr.indexOf(q) >= 0 || v.lc.indexOf(q) >= 0; }) : sortert;
    antall.textContent = q ? "Viser " + vis.length + " av " + flertall(alle.length, "vær", "værer")
                           : flertall(alle.length, "vær", "værer") + ", sortert etter " + SORTNAVN[sortering];
    tom.hidden = vis.length > 0;
    rader.style.height = vis.length * RAD + "px";
    fra = til = -1;
    tegn();
  }

  // Only the rows on the screen, and a few beyond, are in the document.
  function tegn() {
    if (liste.hidden) return;
    var y0 = rader.getBoundingClientRect().top;
    var forst = Math.max(0, Math.floor(-y0 / RAD) - 8);
    var sist = Math.min(vis.length, Math.ceil((window.innerHeight - y0) / RAD) + 8);
    if (forst >= sist) forst = sist = 0;
    if (forst === fra && sist === til) return;
    fra = forst;
    til = sist;
    var f = document.createDocumentFragment();
    for (var i = forst; i < sist; i++) f.appendChild(rad(vis[i], i));
    rader.replaceChildren(f);
  }

  function rad(v, i) {
    var a = lag("a", "rad");
    a.href = "#" + v[0];
    a.style.top = i * RAD + "px";
    var midt = lag("span", "midt");
    var l1 = lag("span", "linje1");
    l1.appendChild(lag("span", "navn", v[1] || "(uten navn)"));
    // A ram out of semin is marked apart from one in it.
    if (SEMIN[v[4]]) l1.appendChild(lag("span", v[4] === 2 ? "merke ute" : "merke", SEMIN[v[4]]));
    if (gul(v[5])) l1.appendChild(lag("span", "merke gul", "Gul"));
    midt.appendChild(l1);
    midt.appendChild(lag("span", "info", v[0] + " · " + raseNavn(v) + " · " + aarTekst(v)));
    a.appendChild(midt);
    var tall = lag("span", "tall");
    tall.appendChild(lag("span", "oi", oTekst(v[5])));
    if (D.soyer.length) tall.appendChild(lag("span", "snitt" + (vedGrensa(v[8]) ? " rod" : ""), prosent(v[8])));
    a.appendChild(tall);
    return a;
  }

  function verTekst(nr) {
    if (!nr) return "ukjent";
    var n = D.aner[nr];
    return n === undefined ? nr + " (ikke i registeret)" : n ? nr + " " + n : String(nr);
  }
  function soyeTekst(nr) { return nr ? "søye " + String(nr).padStart(6, "0") : "ukjent"; }
  function linje(mor, klasse, etikett, tekst) {
    var p = lag("div", "ane " + klasse);
    p.appendChild(lag("span", "", etikett + ": "));
    p.appendChild(document.createTextNode(tekst));
    mor.appendChild(p);
  }
  function nokkeltall(mor, etikett, tekst, rod) {
    var d = lag("div");
    d.appendChild(lag("span", "", etikett));
    d.appendChild(lag("b", rod ? "rod" : "", tekst));
    mor.appendChild(d);
  }

  function visKort(nr) {
    kort.replaceChildren();
    var t = lag("div", "tilbake");
    var b = lag("button", "", "‹ Tilbake til lista");
    b.type = "button";
    b.id = "tilbake";
    b.addEventListener("click", tilbake);
    t.appendChild(b);
    kort.appendChild(t);
    var v = perNummer.get(nr);
    if (!v) {
      kort.appendChild(lag("p", "", "Vær " + nr + " er ikke med i denne lommekatalogen."));
      return;
    }
    kort.appendChild(lag("h1", "", v[1] || "(uten navn)"));
    var om = v[0] + " · " + raseNavn(v) + " · født " + aarTekst(v);
    if (SEMIN[v[4]]) om += " · " + SEMIN[v[4]];
    if (gul(v[5])) om += " · gul";
    kort.appendChild(lag("p", "svak", om));
    var nk = lag("div", "noekkel");
    nokkeltall(nk, "O-indeks", oTekst(v[5]));
    nokkeltall(nk, "Egen innavl", prosent(v[7]));
    if (D.soyer.length) nokkeltall(nk, "Snitt med søyene", prosent(v[8]), vedGrensa(v[8]));
    kort.appendChild(nk);

    kort.appendChild(lag("h2", "", "Indekser"));
    var medPersentil = v[6].some(function (t) { return t.indexOf("%") >= 0; });
    kort.appendChild(lag("p", "svak", medPersentil ? "Persentil blant værer av samme rase og fødselsår"
                                                  : "Ingen andre værer av samme rase og fødselsår å sammenligne med."));
    var tab = lag("table");
    tab.id = "indekser";
    D.figurer.forEach(function (f, i) {
      var r = lag("tr");
      r.appendChild(lag("td", "", f));
      r.appendChild(lag("td", "", v[6][i]));
      tab.appendChild(r);
    });
    kort.appendChild(tab);

    var a = v[9];
    kort.appendChild(lag("h2", "", "Avstamning"));
    var st = lag("div");
    st.id = "avstamning";
    linje(st, "", "Far", verTekst(a[0]));
    linje(st, "", "Morfar", verTekst(a[4]));
    linje(st, "", "Egen innavlsgrad", prosent(v[7]));
    if (!ukjent(v[12])) linje(st, "", "Kjente aner i fem ledd", v[12] + " av 62");
    kort.appendChild(st);
    // Unknown ancestors count as unrelated: few known ones make the figures
    // look better than they may be.
    if (!ukjent(v[12]) && v[12] < 14)
      kort.appendChild(lag("p", "svak", "Få kjente aner: ukjente aner regnes som ubeslektet, så innavlen kan " +
                                        "være høyere enn tallene viser."));
    kort.appendChild(lag("h2", "", "Stamtavle, tre ledd"));
    var tre = lag("div");
    tre.id = "stamtavle";
    linje(tre, "", "Far", verTekst(a[0]));
    linje(tre, "l1", "Farfar", verTekst(a[2]));
    linje(tre, "l2", "Farfars far", verTekst(a[5]));
    linje(tre, "l2", "Farfars mor", soyeTekst(a[6]));
    linje(tre, "l1", "Farmor", soyeTekst(a[3]));
    linje(tre, "l2", "Farmors far", verTekst(a[7]));
    linje(tre, "", "Mor", soyeTekst(a[1]));
    linje(tre, "l1", "Morfar", verTekst(a[4]));
    linje(tre, "l2", "Morfars far", verTekst(a[8]));
    linje(tre, "l2", "Morfars mor", soyeTekst(a[9]));
    kort.appendChild(tre);

    var tall = D.soyer.length ? v[10].split(",").map(function (x, i) { return [i, x === "-" ? null : Number(x)]; })
                              : [];
    function soyerad(tab, x) {
      var r = lag("tr");
      if (vedGrensa(x[1])) r.className = "rod";
      var navn = lag("td", "", "Søye " + D.soyer[x[0]]);
      if (ukjentSoye.has(x[0])) navn.appendChild(lag("span", "svak", " · avstamning ukjent"));
      r.appendChild(navn);
      r.appendChild(lag("td", "", prosent(x[1])));
      tab.appendChild(r);
    }

    if (D.forslag) {
      kort.appendChild(lag("h2", "", "Paringsforslaget"));
      var fs = v[11];
      var p = lag("p", "", fs === null ? "Væren er ikke med i det lagrede paringsforslaget."
                          : fs.length ? "Det lagrede paringsforslaget gir væren " + flertall(fs.length, "søye", "søyer") +
                                        ": " + fs.map(function (e) { return D.soyer[e]; }).join(", ")
                                      : "Det lagrede paringsforslaget gir ikke væren noen søyer.");
      p.id = "forslag";
      kort.appendChild(p);
      if (fs && fs.length) {
        var ft = lag("table");
        ft.id = "forslagsoyer";
        fs.forEach(function (e) { soyerad(ft, tall[e] || [e, null]); });
        kort.appendChild(ft);
      }
    }

    kort.appendChild(lag("h2", "", "Innavl for lammet med søyene dine"));
    if (!D.soyer.length) {
      kort.appendChild(lag("p", "svak", "Ingen søyer i Soyer.Txt da lommekatalogen ble laget."));
    } else {
      var over = tall.filter(function (x) { return vedGrensa(x[1]); }).length;
      var sum = lag("p");
      sum.id = "snitt";
      sum.appendChild(document.createTextNode("Snitt " + prosent(v[8]) + " · "));
      sum.appendChild(lag("span", over ? "rod" : "", over + " av " + D.soyer.length +
                                                     " ved eller over grensa " + String(D.grense).replace(".", ",") +
                                                     "\u00a0%"));
      kort.appendChild(sum);
      if (ukjentSoye.size)
        kort.appendChild(lag("p", "svak", flertall(ukjentSoye.size, "søye", "søyer") +
                                          " uten kjente aner regnes som ubeslektet (0,00\u00a0%) og trekker snittet ned."));
      var sortertTall = tall.slice().sort(function (x, y) {
        return (ukjent(y[1]) ? -1 : y[1]) - (ukjent(x[1]) ? -1 : x[1]) || x[0] - y[0];
      });
      var st2 = lag("table");
      st2.id = "soyer";
      sortertTall.forEach(function (x) { soyerad(st2, x); });
      kort.appendChild(st2);
    }
  }

  function tilbake() {
    if (fraListe) {
      history.back();
    } else {
      // Opened straight from an address with its number: the list takes the
      // card's place, so that the phone's back button does not bring it back.
      history.replaceState(null, "", location.pathname + location.search);
      rute();
    }
  }

  function rute() {
    var m = /^#(\d+)$/.exec(location.hash);
    if (m) {
      if (!liste.hidden) lagretY = window.scrollY;
      liste.hidden = true;
      topp.hidden = true;
      kort.hidden = false;
      visKort(Number(m[1]));
      window.scrollTo(0, 0);
    } else {
      kort.hidden = true;
      kort.replaceChildren();
      topp.hidden = false;
      liste.hidden = false;
      fraListe = false;
      window.scrollTo(0, lagretY);
      fra = til = -1;
      tegn();
    }
  }

  document.getElementById("laget").textContent =
      "Laget " + D.laget + " fra Hornstad, " + flertall(alle.length, "vær", "værer") + ", " +
      flertall(D.soyer.length, "søye", "søyer");
  // Without ewes there is no inbreeding to sort by or show.
  if (!D.soyer.length) {
    knapper.forEach(function (b) { if (b.dataset.s === "i") b.hidden = true; });
    document.getElementById("kolonne").textContent = "O-indeks";
  }
  sok.addEventListener("input", function () { window.scrollTo(0, 0); filtrer(); });
  // Enter with one ram found opens its card.
  sok.addEventListener("keydown", function (e) {
    if (e.key === "Enter" && vis.length === 1) {
      fraListe = true;
      location.hash = "#" + vis[0][0];
    }
  });
  knapper.forEach(function (b) {
    b.addEventListener("click", function () {
      sortering = b.dataset.s;
      window.scrollTo(0, 0);
      sorterListe();
    });
  });
  rader.addEventListener("click", function (e) { if (e.target.closest("a.rad")) fraListe = true; });
  window.addEventListener("scroll", tegn, { passive: true });
  window.addEventListener("resize", function () { fra = til = -1; tegn(); });
  window.addEventListener("hashchange", rute);
  sorterListe();
  rute();
  document.documentElement.setAttribute("data-klar", "1");
})();
)JS";

}  // namespace

std::string_view LommesideStil() { return Stil; }
std::string_view LommesideSkript() { return Skript; }
