#!/usr/bin/env python3
"""Writes the seed pages of the closed-listings and item page fuzz targets into fuzz/corpus/.

Each seed is a small page in the shape the scanners walk: lines ending in CR LF (one seed with
bare line feeds), the marker lines in their order, and a few cut or odd rows that end a scan
early. Run it from anywhere; it replaces the seed folders' contents.
"""

import pathlib
import shutil

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"


def page(lines, eol="\r\n"):
    return eol.join(lines) + eol


# Closed-listings pages ------------------------------------------------------------------------


def listing(aid, title, price, bidder, all_winners=False):
    if all_winners:
        winner = (f'<td><a href="http://auctions.yahoo.co.jp/jp/show/allwinners?aID={aid}">'
                  "落札者一覧</a></td>")
    else:
        winner = (f'<td><a href="http://auctions.yahoo.co.jp/jp/show/rating?userID={bidder}">'
                  f"{bidder}</a> さん</td>")
    return [
        "<tr>",
        f'<td><input type="checkbox" name="ids" value="{aid}"></td>',
        f'<td align="left"><a href="http://page.auctions.yahoo.co.jp/jp/auction/{aid}">'
        f"{title}</a></td>",
        f'<td align="right"><b>{price} 円</b></td>',
        winner,
        "</tr>",
    ]


def first_page(total, rows):
    return ([
        "<html><head><title>出品終了分</title></head><body>",
        "<!-- DELIMITER START -->",
        f"<td>{total}件中 1～50件目</td>",
        "<table><!-- LISTING START -->",
    ] + rows + [
        "</table><!-- LISTING END -->",
        "<!-- DELIMITER END --></body></html>",
    ])


def next_page(rows):
    return (["<html><body>", "<table><!-- LISTING START -->"] + rows +
            ["</table><!-- LISTING END -->", "</body></html>"])


CLOSED = {
    "first_two": page(first_page(2, listing("x1", "商品1", "1,000", "bidder1") +
                                 listing("x2", "商品2", "2,500", "bidder2", all_winners=True))),
    "first_more_pages": page(first_page(51, listing("x3", "Title", "12,000", "b3"))),
    "first_zero": page(first_page(0, [])),
    "first_lf": page(first_page(1, listing("x4", "t", "1", "w4")), eol="\n"),
    "no_listings": page(["<html><body>", "<!-- DELIMITER START -->",
                         "<p>終了したオークションはありません</p>", "</body></html>"]),
    "next_two": page(next_page(listing("x5", "商品5", "500", "bidder5") +
                               listing("x6", "商品6", "600", "bidder6"))),
    # A row cut after its title line, and a winner line without its closing tag.
    "first_cut_row": page(first_page(3, listing("x7", "t7", "7", "w7")[:3] + ["</tr>"])),
    "next_no_lt": page(next_page(listing("x8", "t8", "8", "w8")[:4] +
                                 ['<td><a href="r">w8 さん'])),
}


# Item pages -----------------------------------------------------------------------------------


def winner(bidder, quantity, price):
    return [
        "<tr>",
        f'<td class="decBg01 decBg05">{bidder}</td>',
        f'<td><a href="http://contact.auctions.yahoo.co.jp/show/contact?b={bidder}">'
        "取引ナビ</a></td>",
        f'<td class="decBg01 decBg05">{quantity}</td>',
        f'<td class="decBg01 decBg05">{price} 円</td>',
        "</tr>",
    ]


def winners(rows, separator="<!-- advance -->"):
    lines = []
    for i, row in enumerate(rows):
        if i:
            lines.append(separator)
        lines += row
    return lines


def item_page(rows, after=()):
    return (["<html><body>", '<table class="LISTTABLE" summary="落札者">'] + rows +
            ["</table><!-- /LISTTABLE -->"] + list(after) + ["</body></html>"])


def instant_buy_page(title, rows):
    return (["<html><body>", '<div id="TITLEBAR">', f'<h1 property="auction:Title">{title}</h1>',
             "</div>"] + item_page(rows)[1:])


ITEM = {
    "two_winners": page(item_page(winners([winner("bidder1", "1", "1,000"),
                                           winner("bidder2", "2", "2,000")]))),
    "deleted_row": page(item_page(winners([winner("b1", "1", "10"), winner("b2", "3", "30")],
                                          separator='<tr class="decDel">'))),
    "next_table": page(item_page(winner("b1", "1", "10") +
                                 ['<table class="LISTTABLE2">'] + winner("b9", "9", "90"))),
    "listing_row": page(item_page(winner("b1", "1", "10") + ["<!-- advance -->", "<tr>",
                                  '<td class="decBg01 decBg05">LISTING</td>'])),
    "instant_buy": page(instant_buy_page("即決の商品", winners([winner("buyer1", "1", "3,000")]))),
    "instant_buy_lf": page(instant_buy_page("t", winners([winner("b", "2", "5")])), eol="\n"),
    "no_title_bar": page(item_page([])),
    # A row cut before its price cell.
    "cut_row": page(item_page(winner("b1", "1", "10")[:4])),
}


def write(folder, seeds):
    target = CORPUS / folder
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    for name, text in seeds.items():
        (target / f"{name}.html").write_bytes(text.encode("utf-8"))


write("fuzz_closed_list_scanner", CLOSED)
write("fuzz_item_page_scanner", ITEM)
