#!/usr/bin/env python3
"""Third receiver-text corpus for tuning the address parser.

Written from scratch as a parcel clerk sees receivers: text copied out of chat
apps (odd line breaks, a name alone on its line, blank lines), marketplace
"复制收货信息" buttons, spreadsheet rows pasted with tabs, old-fashioned
letters ("寄往…", "烦交…"), the street before the region, provinces without 省
and cities without 市, telephones under "Tel", "T:", "☎", "📞".

Writes tests/batch/data/address_corpus_tuning3.jsonl (100 texts of each kind:
shop, labelled, auction, chat). Deterministic: fixed seed, stdlib only.

    python3 tools/address_corpus/make_corpus3.py

Every text is checked before it is written: region names exist in
resources/regions/divisions.txt, name/company/address occur in the text (an
address may be two joined pieces), telephone digits occur in the text, and no
text repeats.
"""

import json
import os
import random
import re
import sys

SEED = 31337
PER_KIND = 100
KINDS = ("shop", "labelled", "auction", "chat")
ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
DIVISIONS = os.path.join(ROOT, "resources", "regions", "divisions.txt")
OUTPUT = os.path.join(ROOT, "tests", "batch", "data", "address_corpus_tuning3.jsonl")
FIELDS = ("company", "name", "phone", "mobile", "country", "province", "city", "town", "address", "postcode")

# ---------------------------------------------------------------- divisions

def load_divisions():
    names = {}
    with open(DIVISIONS, encoding="utf-8") as f:
        for line in f:
            code, name = line.rstrip("\n").split("\t")
            names[code] = name
    return names


DIV = load_divisions()
NAME_COUNT = {}
for _name in DIV.values():
    NAME_COUNT[_name] = NAME_COUNT.get(_name, 0) + 1
ALL_NAMES = set(DIV.values())

MUNICIPALITIES = {"11": "北京", "12": "天津", "31": "上海", "50": "重庆"}
AUTONOMOUS = {"15": "内蒙古", "45": "广西", "54": "西藏", "64": "宁夏", "65": "新疆"}
SPECIAL = {"81": "香港", "82": "澳门"}
TAIWAN = "71"
# How the waybill writes a province: municipalities and autonomous regions by
# their short name, Hong Kong and Macau likewise, every other one in full.
def province_expect(code):
    return MUNICIPALITIES.get(code) or AUTONOMOUS.get(code) or SPECIAL.get(code) or DIV[code]


def province_short(code):
    full = DIV[code]
    if code in MUNICIPALITIES or code in AUTONOMOUS or code in SPECIAL:
        return province_expect(code)
    if code == TAIWAN:
        return "台湾"
    return full[:-1] if full.endswith("省") else full


# Colloquial "…州" of autonomous prefectures whose short form is used and is no other place.
PREFECTURE_SHORT = {
    "甘南藏族自治州": "甘南州", "湘西土家族苗族自治州": "湘西州", "黔东南苗族侗族自治州": "黔东南州",
    "凉山彝族自治州": "凉山州", "延边朝鲜族自治州": "延边州", "大理白族自治州": "大理州",
    "红河哈尼族彝族自治州": "红河州", "伊犁哈萨克自治州": "伊犁州", "恩施土家族苗族自治州": "恩施州",
    "西双版纳傣族自治州": "西双版纳州", "黔南布依族苗族自治州": "黔南州", "黔西南布依族苗族自治州": "黔西南州",
    "阿坝藏族羌族自治州": "阿坝州", "甘孜藏族自治州": "甘孜州", "楚雄彝族自治州": "楚雄州",
    "文山壮族苗族自治州": "文山州", "德宏傣族景颇族自治州": "德宏州", "怒江傈僳族自治州": "怒江州",
    "迪庆藏族自治州": "迪庆州", "临夏回族自治州": "临夏州", "海北藏族自治州": "海北州",
    "黄南藏族自治州": "黄南州", "果洛藏族自治州": "果洛州", "玉树藏族自治州": "玉树州",
    "海西蒙古族藏族自治州": "海西州", "昌吉回族自治州": "昌吉州",
}

BAD_COUNTY = re.compile(r"开发|园区|管理|示范|改革|高新技术|经济|^城区$|^郊区$|^矿区$")


def counties_of(prefix):
    return [c for c in DIV if len(c) == 6 and c.startswith(prefix) and not c.endswith("00")
            and not BAD_COUNTY.search(DIV[c])]


MAINLAND_PROVINCES = [c for c in DIV if len(c) == 2 and c not in (TAIWAN, "81", "82")]
PREFECTURES = {p: [c for c in DIV if len(c) == 4 and c.startswith(p) and counties_of(c)]
               for p in MAINLAND_PROVINCES}

# Prefecture cities without counties and cities under the province: their 镇/街道.
TOWNS_BELOW_CITY = {
    "441900": ("44", ["长安镇", "虎门镇", "塘厦镇", "常平镇", "南城街道", "东城街道", "寮步镇", "松山湖街道"]),
    "442000": ("44", ["石岐街道", "小榄镇", "古镇镇", "坦洲镇", "火炬开发区街道", "三乡镇"]),
    "460400": ("46", ["那大镇", "白马井镇", "中和镇", "木棠镇"]),
    "620201": ("62", ["新城镇", "峪泉镇", "文殊镇"]),
    "429004": ("42", ["干河街道", "龙华山街道", "沙嘴街道", "彭场镇", "毛嘴镇"]),
    "429006": ("42", ["竟陵街道", "岳口镇", "皂市镇", "杨林街道"]),
    "429005": ("42", ["园林街道", "杨市街道", "熊口镇", "王场镇"]),
    "419001": ("41", ["沁园街道", "济水街道", "五龙口镇", "克井镇"]),
    "469002": ("46", ["嘉积镇", "博鳌镇", "万泉镇", "长坡镇"]),
}

# ---------------------------------------------------------------- streets

ROAD_CORES = ["人民", "解放", "建设", "文化", "胜利", "和平", "新华", "团结", "光明", "幸福", "青年", "工农",
              "东风", "长江", "黄河", "滨江", "迎宾", "学府", "翠竹", "桂花", "银杏", "丹桂", "红旗", "健康",
              "育才", "振兴", "友谊", "锦绣", "春晖", "望江", "凤凰", "玉兰", "金桥", "枫林", "书院", "府前"]
ROAD_SUFFIX = ["路", "路", "路", "大道", "大街", "街", "中路", "北路", "南路", "东路", "西路"]
ESTATES = ["阳光花园", "金色家园", "锦绣华庭", "翠湖苑", "丽景湾", "幸福里小区", "书香门第", "御景城", "春江花月",
           "和谐家园", "紫荆苑", "碧水蓝天", "世纪新城", "东方明珠苑", "绿地公馆", "枫丹白露", "桂园新村"]
BUILDINGS = ["国贸大厦", "金融中心", "创业园", "科技大楼", "商务中心", "物流园", "电商产业园", "汇金广场"]
STREET_OFFICES = ["城南街道", "城北街道", "东湖街道", "西城街道", "新华街道", "人民街道", "滨江街道", "文昌街道"]
TOWN_CORES = ["新安", "石桥", "清溪", "太和", "永兴", "双河", "金鸡", "柳林", "高桥", "三合", "杨柳", "红星"]


def road(rng):
    return rng.choice(ROAD_CORES) + rng.choice(ROAD_SUFFIX)


def street(rng):
    r = road(rng) + f"{rng.randint(1, 999)}号"
    shape = rng.random()
    if shape < 0.35:
        return r
    if shape < 0.65:
        return (rng.choice(ROAD_CORES) + rng.choice(["路", "街"]) + f"{rng.randint(1, 600)}号"
                + rng.choice(ESTATES) + f"{rng.randint(1, 30)}栋{rng.randint(1, 4)}单元{rng.randint(1, 28)}0{rng.randint(1, 4)}室")
    if shape < 0.85:
        return r + rng.choice(BUILDINGS) + rng.choice(["A座", "B座", "C座", ""]) + f"{rng.randint(2, 30)}楼"
    return rng.choice(ESTATES) + f"{rng.randint(1, 20)}幢{rng.randint(101, 2602)}"


def town_word(rng):
    """A 镇 that is no county of its own (so it can only be part of the street)."""
    while True:
        core = rng.choice(TOWN_CORES)
        if not any(core + s in ALL_NAMES for s in ("县", "市", "区")):
            return core + "镇"


HK = {
    "8101": {"中西区": ["德辅道中", "皇后大道中"], "湾仔区": ["轩尼诗道", "告士打道"], "东区": ["英皇道"],
             "南区": ["香港仔大道"]},
    "8102": {"油尖旺区": ["弥敦道", "广东道"], "深水埗区": ["长沙湾道"], "九龙城区": ["太子道西"],
             "黄大仙区": ["龙翔道"], "观塘区": ["观塘道"]},
    "8103": {"沙田区": ["沙田正街"], "荃湾区": ["大河道"], "屯门区": ["屯门乡事会路"], "元朗区": ["青山公路元朗段"],
             "葵青区": ["葵涌道"], "大埔区": ["宝乡街"], "西贡区": ["常宁路"], "离岛区": ["达东路"]},
}
MACAU = {
    "8201": {"花地玛堂区": ["黑沙环新街"], "大堂区": ["新马路"], "风顺堂区": ["风顺堂街"], "圣安多尼堂区": ["白鸽巢前地"]},
    "8202": {"嘉模堂区": ["基马拉斯大马路"]},
    "8203": {"圣方济各堂区": ["路环市区计单奴街"]},
}
TW = {
    "7101": {"大安区": ["忠孝东路四段", "敦化南路一段"], "信义区": ["松仁路"], "中山区": ["民生东路二段"]},
    "7102": {"板桥区": ["文化路一段"], "新庄区": ["中正路"]},
    "7104": {"西屯区": ["台湾大道三段"], "北屯区": ["崇德路二段"]},
    "7106": {"苓雅区": ["四维三路"], "前镇区": ["中华五路"]},
}


def hk_street(rng, roads):
    return (rng.choice(roads) + f"{rng.randint(1, 300)}号" + rng.choice(["华丰大厦", "金利商业大厦", "海景楼", "富城中心"])
            + f"{rng.randint(2, 28)}楼{rng.choice('ABCDEF')}室")


def tw_street(rng, roads):
    return rng.choice(roads) + f"{rng.randint(1, 300)}号{rng.randint(2, 15)}楼"


# ---------------------------------------------------------------- regions

class Region:
    """A receiver's place: the expected fields and the ways people type it."""

    def __init__(self, prov, city, town, street, pieces, postcode_prefix="", town_in_region=True):
        self.prov = prov            # province code
        self.city = city            # expected city name
        self.town = town            # expected town name
        self.street = street        # street line as typed (simplified)
        self.pieces = pieces        # typed forms: dict style -> list of region words
        self.postcode_prefix = postcode_prefix

    def expect(self):
        return {"province": province_expect(self.prov), "city": self.city, "town": self.town}


POSTCODE_PREFIX = {"11": "10", "12": "30", "13": "05", "14": "03", "15": "01", "21": "11", "22": "13", "23": "15",
                   "31": "20", "32": "21", "33": "31", "34": "23", "35": "35", "36": "33", "37": "25", "41": "45",
                   "42": "43", "43": "41", "44": "51", "45": "53", "46": "57", "50": "40", "51": "61", "52": "55",
                   "53": "65", "54": "85", "61": "71", "62": "73", "63": "81", "64": "75", "65": "83"}


def mainland_region(rng, flavour):
    """flavour: normal, municipality, autonomous, countycity, below_city."""
    if flavour == "below_city":
        code = rng.choice(sorted(TOWNS_BELOW_CITY))
        prov, towns = TOWNS_BELOW_CITY[code]
        city = DIV[code]
        town = rng.choice(towns)
        full = [DIV[prov], city, town]
        short = [province_short(prov), city[:-1], town]
        pieces = {"full": full, "short": short, "noprov": [city, town]}
        return Region(prov, city, town, street(rng), pieces, POSTCODE_PREFIX[prov])
    if flavour == "municipality":
        prov = rng.choice(sorted(MUNICIPALITIES))
        county = rng.choice(counties_of(prov))
        name = DIV[county]
        city = DIV[prov]
        pieces = {"full": [city, name], "short": [MUNICIPALITIES[prov], name], "spaced3": [MUNICIPALITIES[prov], city, name]}
        if NAME_COUNT[name] == 1 and len(name) >= 3:
            pieces["district"] = [name]
        return Region(prov, city, name, street(rng), pieces, POSTCODE_PREFIX[prov])
    while True:
        prov = rng.choice(MAINLAND_PROVINCES)
        if prov in MUNICIPALITIES or not PREFECTURES[prov]:
            continue
        if flavour == "autonomous":
            pref = [p for p in PREFECTURES[prov] if DIV[p] in PREFECTURE_SHORT or DIV[p].endswith("盟")]
            if not pref:
                continue
            pref = rng.choice(pref)
        else:
            pref = rng.choice(PREFECTURES[prov])
        counties = counties_of(pref)
        if flavour == "countycity":
            counties = [c for c in counties if DIV[c].endswith("市")]
        if not counties:
            continue
        county = rng.choice(counties)
        break
    pname, cname = DIV[pref], DIV[county]
    pieces = {"full": [DIV[prov], pname, cname]}
    if pname in PREFECTURE_SHORT:
        pieces["short"] = [province_short(prov), PREFECTURE_SHORT[pname], cname]
    elif pname.endswith("市") and len(pname) >= 3 and pname[:-1] != province_short(prov) and NAME_COUNT[pname] == 1:
        pieces["short"] = [province_short(prov), pname[:-1], cname]
    if NAME_COUNT[pname] == 1:
        pieces["noprov"] = [pname, cname]
    if NAME_COUNT[cname] == 1 and len(cname) >= 3:
        pieces["nocity"] = [DIV[prov], cname]
        pieces["district"] = [cname]
    return Region(prov, pname, cname, street(rng), pieces, POSTCODE_PREFIX[prov])


def special_region(rng, which):
    if which == "hk":
        city_code = rng.choice(sorted(HK))
        town = rng.choice(sorted(HK[city_code]))
        city = DIV[city_code]
        st = hk_street(rng, HK[city_code][town])
        pieces = {"full": ["香港", city, town], "noprov": [city, town]}
        if city == "香港岛":
            pieces["short"] = ["香港", "港岛", town]
        return Region("81", city, town, st, pieces)
    if which == "mo":
        city_code = rng.choice(sorted(MACAU))
        town = rng.choice(sorted(MACAU[city_code]))
        city = DIV[city_code]
        st = hk_street(rng, MACAU[city_code][town])
        pieces = {"full": ["澳门", city, town], "long": ["澳门特别行政区", city, town]}
        return Region("82", city, town, st, pieces)
    city_code = rng.choice(sorted(TW))
    town = rng.choice(sorted(TW[city_code]))
    city = DIV[city_code]
    st = tw_street(rng, TW[city_code][town])
    pieces = {"full": ["台湾", city, town], "noprov": [city, town], "fullprov": ["台湾省", city, town]}
    return Region(TAIWAN, city, town, st, pieces)


def any_region(rng):
    roll = rng.random()
    if roll < 0.40:
        return mainland_region(rng, "normal")
    if roll < 0.55:
        return mainland_region(rng, "municipality")
    if roll < 0.67:
        return mainland_region(rng, "autonomous")
    if roll < 0.77:
        return mainland_region(rng, "countycity")
    if roll < 0.88:
        return mainland_region(rng, "below_city")
    return special_region(rng, rng.choice(["hk", "hk", "mo", "tw"]))


def region_text(rng, region, styles=None, sep=None):
    """The region words in one of their typed forms, joined."""
    options = [s for s in (styles or list(region.pieces)) if s in region.pieces] or ["full"]
    words = region.pieces[rng.choice(options)]
    if sep is None:
        sep = rng.choice(["", "", "", " "])
    return sep.join(words)


# ---------------------------------------------------------------- people

SURNAMES = list("王李张刘陈杨黄赵吴周徐孙朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖董袁潘于蒋蔡余杜叶程魏吕丁任沈"
                "姚卢姜崔钟谭陆汪范金石廖贾夏付邹孟熊秦邱尹薛闫段侯史陶黎贺顾毛郝龚邵钱严戴莫孔向汤")
GIVEN = ["伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛", "超", "秀英", "桂英",
         "晓燕", "建华", "志强", "海燕", "雪梅", "宇航", "子涵", "梓萱", "浩然", "欣怡", "俊杰", "思远", "雨桐", "嘉怡",
         "晨曦", "立新", "春梅", "文博", "一鸣", "佳琪", "德明", "振宇", "慧敏", "红霞", "玉兰", "永刚", "小军", "婷婷"]
COMPOUND = ["司马", "欧阳", "诸葛", "端木", "上官", "皇甫", "东方", "慕容", "令狐", "公孙", "夏侯", "尉迟", "宇文",
            "长孙", "轩辕", "南宫", "司徒", "澹台", "呼延", "钟离"]
MINORITY = [
    # Uyghur
    "阿依古丽", "艾尔肯", "古丽娜扎", "热依汗古丽", "努尔艾力", "帕提古丽", "迪丽努尔", "吐尔洪", "麦麦提艾力", "阿卜杜拉",
    # Tibetan
    "达瓦卓玛", "扎西顿珠", "次仁旺姆", "格桑梅朵", "尼玛次仁", "央金拉姆", "洛桑丹增", "卓嘎", "旦增",
    # Mongolian
    "乌云其木格", "巴特尔", "其其格", "斯琴高娃", "那仁图雅", "苏和", "额尔敦", "阿拉坦仓",
    # Zhuang
    "韦秀梅", "覃海燕", "农丽华", "黄美琼", "蓝天佑", "莫桂兰", "韦国清",
    # Hui
    "马小龙", "马秀兰", "丁国华", "海玉霞", "纳文斌", "穆建军",
    # Yi
    "吉克曲布", "阿牛阿呷",
]

BRANDS = ["青禾", "恒远", "鼎盛", "华信", "博源", "瑞丰", "众诚", "新越", "天禾", "弘毅", "美佳", "鑫达", "汇通", "百川",
          "云帆", "嘉禾", "金穗", "星辰", "海纳", "同创"]
COMPANY_TAILS = ["贸易有限公司", "科技有限公司", "电子商务有限公司", "服装厂", "五金加工厂", "印刷厂", "食品有限公司",
                 "装饰工程有限公司", "律师事务所", "会计师事务所", "文具店", "眼镜店", "茶业合作社", "口腔诊所",
                 "实验学校", "书店", "汽修厂", "物流有限公司", "药房", "培训中心"]
INSTITUTIONS = ["人民医院检验科", "大学图书馆", "中学教务处", "职业技术学院后勤处", "中心小学"]


def has_place(text):
    return any(n in text for n in ALL_NAMES if len(n) >= 2 and n not in ("城区", "东区", "西区", "南区", "北区"))


def person_name(rng):
    while True:
        roll = rng.random()
        if roll < 0.55:
            n = rng.choice(SURNAMES) + rng.choice(GIVEN)
        elif roll < 0.75:
            n = rng.choice(COMPOUND) + rng.choice(GIVEN)
        else:
            n = rng.choice(MINORITY)
        if 2 <= len(n) <= 5 and not has_place(n):
            return n


def company_name(rng):
    while True:
        if rng.random() < 0.8:
            c = rng.choice(BRANDS) + rng.choice(COMPANY_TAILS)
        else:
            c = rng.choice(["育英", "明德", "博雅", "仁和", "启航", "求是"]) + rng.choice(INSTITUTIONS)
        if not has_place(c):
            return c


# ---------------------------------------------------------------- telephones

MOBILE_HEADS = ["130", "131", "132", "133", "134", "135", "136", "137", "138", "139", "150", "151", "152", "153", "155",
                "156", "157", "158", "159", "166", "172", "173", "175", "176", "177", "178", "180", "181", "182",
                "183", "184", "185", "186", "187", "188", "189", "191", "193", "195", "198", "199"]
AREA_CODES = {"3": ["010", "020", "021", "022", "023", "024", "025", "027", "028", "029"],
              "4": ["0571", "0574", "0755", "0512", "0531", "0532", "0371", "0731", "0591", "0851", "0871",
                    "0931", "0991", "0471", "0891", "0898", "0335", "0377", "0818", "0736"]}


def mobile_digits(rng):
    return rng.choice(MOBILE_HEADS) + "".join(str(rng.randint(0, 9)) for _ in range(8))


def mobile_typed(rng, digits, plain=False):
    if plain:
        return digits
    roll = rng.random()
    if roll < 0.55:
        return digits
    if roll < 0.67:
        return f"{digits[:3]} {digits[3:7]} {digits[7:]}"
    if roll < 0.76:
        return f"{digits[:3]}-{digits[3:7]}-{digits[7:]}"
    return rng.choice(["+86 ", "+86", "+86-", "(+86)", "（+86）", "86-", "0086 ", "0086-"]) + digits


def landline(rng):
    """(typed, expected) for a mainland landline in one of the ways people write it."""
    if rng.random() < 0.4:
        area = rng.choice(AREA_CODES["3"])
        local = str(rng.randint(2, 8)) + "".join(str(rng.randint(0, 9)) for _ in range(7))
    else:
        area = rng.choice(AREA_CODES["4"])
        n = rng.choice([7, 8, 8])
        local = str(rng.randint(2, 8)) + "".join(str(rng.randint(0, 9)) for _ in range(n - 1))
    half = len(local) - 4
    roll = rng.random()
    if roll < 0.25:
        return f"{area}-{local}", f"{area}-{local}"
    if roll < 0.45:
        return f"{area} {local}", f"{area}-{local}"
    if roll < 0.62:
        return f"{area}-{local[:half]} {local[half:]}", f"{area}-{local}"
    if roll < 0.72:
        return f"{area} {local[:half]} {local[half:]}", f"{area}-{local}"
    if roll < 0.80:
        return f"({area}){local}", f"({area}){local}"
    if roll < 0.88:
        return f"86-{area}-{local}", f"{area}-{local}"
    if roll < 0.94:
        ext = str(rng.randint(100, 899))
        return f"{area}-{local}-{ext}", f"{area}-{local}-{ext}"
    return f"{area}{local}", f"{area}{local}"


def local_only(rng):
    n = str(rng.randint(2, 8)) + "".join(str(rng.randint(0, 9)) for _ in range(7))
    return n, n


def special_phone(rng, prov):
    """Hong Kong and Macau numbers lose country code and blanks; Taiwan keeps its dashes."""
    if prov == "81":
        n = rng.choice("5679") + "".join(str(rng.randint(0, 9)) for _ in range(7))
        typed = rng.choice([f"+852 {n[:4]} {n[4:]}", f"(852) {n[:4]} {n[4:]}", f"{n[:4]} {n[4:]}", n, f"+852-{n}"])
        return typed, n
    if prov == "82":
        n = "6" + "".join(str(rng.randint(0, 9)) for _ in range(7))
        typed = rng.choice([f"+853 {n[:4]} {n[4:]}", f"(853){n}", f"{n[:4]} {n[4:]}", n])
        return typed, n
    if rng.random() < 0.5:
        n = f"09{rng.randint(10, 99)}-{rng.randint(100, 999)}-{rng.randint(100, 999)}"
    else:
        n = f"0{rng.choice(['2', '4', '7'])}-{rng.randint(2000, 2999)}-{rng.randint(1000, 9999)}"
    return n, n


class Person:
    """Who receives: the values and their typed forms."""

    def __init__(self, rng, region, want_company=None):
        self.name = person_name(rng)
        self.company = company_name(rng) if (want_company if want_company is not None else rng.random() < 0.15) else ""
        self.mobile = ""
        self.mobile_typed = ""
        self.phone = ""
        self.phone_typed = ""
        self.postcode = ""
        self.postcode_typed = ""
        if region.prov in ("81", "82", TAIWAN):
            self.phone_typed, self.phone = special_phone(rng, region.prov)
            if rng.random() < 0.3:
                self.mobile = mobile_digits(rng)
                self.mobile_typed = mobile_typed(rng, self.mobile)
            return
        roll = rng.random()
        if roll < 0.55:
            self.mobile = mobile_digits(rng)
            self.mobile_typed = mobile_typed(rng, self.mobile)
        elif roll < 0.72:
            self.mobile = mobile_digits(rng)
            self.mobile_typed = mobile_typed(rng, self.mobile)
            self.phone_typed, self.phone = landline(rng)
        elif roll < 0.84:
            self.mobile = mobile_digits(rng)
            self.mobile_typed = mobile_typed(rng, self.mobile)
            self.phone = mobile_digits(rng)
            self.phone_typed = mobile_typed(rng, self.phone, plain=rng.random() < 0.6)
        elif roll < 0.95:
            self.phone_typed, self.phone = landline(rng)
        else:
            self.mobile = mobile_digits(rng)
            self.mobile_typed = mobile_typed(rng, self.mobile)
            self.phone_typed, self.phone = local_only(rng)
            self.local_only = True
        if region.postcode_prefix and rng.random() < 0.4:
            self.postcode = region.postcode_prefix + "".join(str(rng.randint(0, 9)) for _ in range(4))
            self.postcode_typed = rng.choice([self.postcode, f"（{self.postcode}）", f"({self.postcode})"])

    @property
    def has_local_only(self):
        return getattr(self, "local_only", False)

    def phones_inline(self, rng, sep=None):
        """The telephones as one piece of a line, mobile first most of the time."""
        parts = [p for p in (self.mobile_typed, self.phone_typed) if p]
        if self.has_local_only:
            return self.mobile_typed
        if len(parts) == 2 and sep is None:
            sep = rng.choice([" ", " / ", "/", "，", " "])
        return (sep or " ").join(parts)

    def expect(self):
        return {"company": self.company, "name": self.name, "phone": self.phone, "mobile": self.mobile,
                "postcode": self.postcode}


# ---------------------------------------------------------------- traditional characters

# Simplified → traditional for the characters these texts use (OpenCC is not needed for so few).
TRAD = dict(p for p in """广廣 东東 区區 号號 楼樓 电電 话話 详詳 细細 门門 湾灣 龙龍 时時 国國 马馬 华華 兴興 发發 业業 厦廈 场場 园園 苏蘇 陈陳 刘劉 张張 黄黃 郑鄭 杨楊 谢謝 许許 罗羅 叶葉 邓鄧 钟鍾 冯馮 吴吳 观觀 弥彌 轩軒 诗詩 锣鑼 铜銅 请請 邮郵 编編 联聯 系繫 机機 镇鎮 县縣 单單 栋棟 层層 阁閣 岭嶺 丽麗 凤鳳 万萬 达達 将將 军軍 伟偉 强強 红紅 静靜 艳艷 鸿鴻 荣榮 辉輝 贤賢 宁寧 汉漢 顺順 丰豐 韵韻 运運 递遞 烦煩 乐樂 进進 宝寶 庆慶 圣聖 总總 关關 经經 济濟 术術 务務 装裝 饰飾 贸貿 学學 图圖 书書 馆館 实實 验驗 会會 师師 厂廠 药藥 汇匯 创創 纳納 诚誠 远遠 众眾 医醫 检檢 员員 买買 热熱 乡鄉 长長 义義 云雲 兰蘭 级級 钱錢 刚剛 卢盧 赵趙 孙孫 韩韓 邹鄒 顾顧 龚龔 严嚴 贺賀 闫閆 汤湯 蒋蔣 吕呂 谭譚 陆陸 贾賈 阳陽 环環 计計 码碼 别別 谐諧 桥橋 滨濱 锦錦 绣繡 蓝藍 绿綠 枫楓 银銀 宾賓 晖暉 团團 结結 胜勝 设設 农農 风風 谊誼 产產 纪紀 连連 辽遼 贵貴 陕陝 肃肅 维維 尔爾 岛島 贡貢 离離 屿嶼 玛瑪 亚亞 辅輔 杰傑 涛濤 鸣鳴 顿頓 乌烏 仓倉 额額 韦韋 麦麥 欧歐 诸諸 迟遲 辕轅 货貨 备備 办辦 亲親 板闆 喽囉 圆圓 监監 称稱 电電 镜鏡 诊診 职職 处處 启啟 众眾 重重 庆慶 应應 讯訊 卖賣 块塊 广廣 坝壩 湘湘 峡峽 凉涼 临臨 恶惡 鲁魯 齐齊 闽閩 赣贛 鄂鄂 琼瓊 渝渝 滇滇 黔黔 藏藏 疆疆 壮壯 侗侗 傣傣 夹夾 顶頂 页頁 东東""".split())


def to_trad(text):
    return "".join(TRAD.get(ch, ch) for ch in text)


# ---------------------------------------------------------------- checks

def phone_digits_in(text, value):
    digits = re.sub(r"\D", "", value)
    return digits in re.sub(r"\D", "", text)


def check(entry, seen):
    text, e = entry["text"], entry["expect"]
    problems = []
    if set(e) != set(FIELDS):
        problems.append("fields")
    if text in seen:
        problems.append("duplicate")
    for key in ("name", "company"):
        if e[key] and e[key] not in text:
            problems.append(key + " not in text")
    if e["address"] and e["address"] not in text:
        if not any(e["address"][:i] in text and e["address"][i:] in text for i in range(1, len(e["address"]))):
            problems.append("address not in text")
    if e["postcode"] and e["postcode"] not in text:
        problems.append("postcode not in text")
    for key in ("phone", "mobile"):
        if e[key] and not phone_digits_in(text, e[key]):
            problems.append(key + " digits not in text")
    if e["mobile"] and not re.fullmatch(r"1\d{10}", e["mobile"]):
        problems.append("mobile shape")
    if e["postcode"] and not re.fullmatch(r"\d{6}", e["postcode"]):
        problems.append("postcode shape")
    prov_code = next((c for c in DIV if len(c) == 2 and province_expect(c) == e["province"]), None)
    if e["province"] and prov_code is None:
        problems.append("unknown province")
    if e["city"] and not any(DIV[c] == e["city"] and c.startswith(prov_code or "-") for c in DIV):
        problems.append("unknown city")
    if e["town"] and e["town"] not in ALL_NAMES and not any(e["town"] in t for _, t in TOWNS_BELOW_CITY.values()):
        problems.append("unknown town")
    if e["country"] not in ("", "中国"):
        problems.append("country")
    if problems:
        raise SystemExit(f"bad entry {entry!r}: {problems}")
    seen.add(text)


# ---------------------------------------------------------------- texts

REMARKS = ["请尽快发货", "不要放快递柜", "周末不在家，放门卫", "送货前打电话", "发票随货寄", "颜色要黑色的", "尺码XL",
           "包装结实点", "别写价格", "工作日送"]
GREETINGS = ["亲", "你好", "您好呀", "老板好", "hi", "在吗", "哈喽"]
THANKS = ["谢谢", "谢谢啦", "谢谢亲", "辛苦了", "麻烦了，谢谢", "感谢🙏"]
EMOJI = ["😊", "🙏", "👍", "😄", "🌹", "❤️", "✨"]
COURIERS = ["顺丰", "韵达", "中通", "圆通", "申通", "EMS", "京东快递"]
TITLES = ["先生", "女士", "老师", "小姐", ""]
MOBILE_LABELS = ["手机", "手机号", "手机号码", "联系方式", "收货电话", "电话", "Tel", "T:", "Phone", "☎", "📞"]
PHONE_LABELS = ["电话", "座机", "固话", "Tel", "办公电话", "☎"]


def order_no(rng):
    return "".join(str(rng.randint(0, 9)) for _ in range(rng.choice([16, 18, 19])))


def order_time(rng):
    return (f"2024-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d} "
            f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:{rng.randint(0, 59):02d}")


def new_case(rng, flavour=None, company=None):
    region = any_region(rng) if flavour is None else (
        special_region(rng, flavour) if flavour in ("hk", "mo", "tw") else mainland_region(rng, flavour))
    return region, Person(rng, region, company)


def colon(rng, label=""):
    if label.endswith(":") or not label.isascii() and not re.search(r"[\u4e00-\u9fff]$", label):
        return rng.choice(["", " "])  # "T:", "☎", "📞" carry their own mark
    return rng.choice(["：", "：", ":", " : ", "： ", ""])


def labelled_phones(rng, p, sep="\n"):
    """Telephones under their own labels; a second mobile under 备用 words."""
    lines = []
    if p.mobile_typed:
        label = rng.choice(MOBILE_LABELS)
        lines.append(label + colon(rng, label) + p.mobile_typed)
    if p.phone_typed and not p.has_local_only:
        if re.fullmatch(r"1\d{10}", re.sub(r"\D", "", p.phone_typed)[-11:]) and p.mobile:
            label = rng.choice(["备用手机", "备用电话", "手机2", "其他联系方式"])
        else:
            label = rng.choice(PHONE_LABELS)
        lines.append(label + colon(rng, label) + p.phone_typed)
    return sep.join(lines)


def finish(rng, text, region, p, address=None, trad=False, country=""):
    """The entry's text and expected fields; a local number without area code goes at a line end."""
    if p.has_local_only:
        text = text.rstrip() + rng.choice([" ", "\n", " 座机", "\n固话："]) + p.phone_typed
    expect = p.expect()
    if p.postcode and p.postcode not in text:
        expect["postcode"] = ""  # this shape of text leaves the postcode out
    if p.company and p.company not in text:
        expect["company"] = ""  # likewise the company
    expect.update(region.expect())
    expect["address"] = region.street if address is None else address
    expect["country"] = country
    if trad:
        text = to_trad(text)
        for key in ("name", "company", "address"):
            expect[key] = to_trad(expect[key])
    return text, expect


# shop: what marketplaces copy out of an order

def shop_taobao_line(rng):
    region, p = new_case(rng)
    phones = p.phones_inline(rng, "，")
    reg = region_text(rng, region, ["full", "full", "short"], " ")
    post = f" ，{p.postcode_typed}" if p.postcode else ""
    text = f"{rng.choice(['收货地址：', '', '收货信息：'])}{p.name}，{phones}，{reg} {region.street}{post}"
    if p.company:
        text += f"，{p.company}"
    return finish(rng, text, region, p)


def shop_jd_block(rng):
    region, p = new_case(rng)
    lines = [f"订单号：{order_no(rng)}", f"下单时间：{order_time(rng)}",
             f"{rng.choice(['收货人', '收件人', '客户姓名'])}：{p.name}", labelled_phones(rng, p),
             f"{rng.choice(['收货地址', '配送地址', '地址'])}：{region_text(rng, region, ['full', 'noprov'], '')}{region.street}"]
    if rng.random() < 0.6:
        lines.append(f"{rng.choice(['买家留言', '备注', '订单备注'])}：{rng.choice(REMARKS)}")
    if p.postcode:
        lines.append(f"邮编：{p.postcode}")
    if p.company:
        lines.insert(3, f"单位：{p.company}")
    return finish(rng, "\n".join(lines), region, p)


def shop_pdd(rng):
    region, p = new_case(rng, company=False)
    sep = rng.choice([" ", "  ", "\t"])
    text = (f"收件人：{p.name}{sep}手机号码：{p.phones_inline(rng, ' ')}{sep}"
            f"所在地区：{region_text(rng, region, ['full', 'short'], ' ')}{sep}详细地址：{region.street}")
    if rng.random() < 0.5:
        text = f"订单编号：{order_no(rng)}\n" + text
    return finish(rng, text, region, p)


def shop_douyin(rng):
    region, p = new_case(rng)
    lines = [f"收货人: {p.name}", f"电话: {p.phones_inline(rng, ' / ')}",
             f"地址: {region_text(rng, region, ['full'], rng.choice(['', ' ']))} {region.street}"]
    if p.company:
        lines.insert(1, f"公司: {p.company}")
    lines.append(f"商品：{rng.choice(['夏季T恤', '保温杯', '蓝牙耳机', '茶叶礼盒', '儿童绘本'])} x{rng.randint(1, 5)}")
    return finish(rng, "\n".join(lines), region, p)


def shop_xianyu(rng):
    region, p = new_case(rng, company=False)
    post = f" | 邮编：{p.postcode}" if p.postcode else ""
    text = (f"买家：{p.name} | 电话：{p.phones_inline(rng, ' / ')} | 地址：{region_text(rng, region)}"
            f"{region.street}{post}")
    return finish(rng, text, region, p)


def shop_wechat(rng):
    region, p = new_case(rng)
    parts = [f"姓名：{p.name}", f"电话：{p.phones_inline(rng, '，')}", f"地址：{region_text(rng, region)}{region.street}"]
    if p.company:
        parts.append(f"单位：{p.company}")
    if p.postcode:
        parts.append(f"邮编：{p.postcode}")
    parts.append(f"数量：{rng.randint(1, 9)}")
    return finish(rng, "；".join(parts) + rng.choice(["；", ""]), region, p)


def shop_youzan_row(rng):
    region, p = new_case(rng, company=False)
    if p.phone_typed and p.mobile_typed:
        phones = [p.mobile_typed, "" if p.has_local_only else p.phone_typed]
    else:
        phones = [p.mobile_typed or p.phone_typed, ""]
    words = region.pieces.get("spaced3", region.pieces["full"])
    cells = ["E" + order_no(rng), order_time(rng), p.name, phones[0], phones[1]] + list(words) + [
        region.street, str(rng.randint(1, 3)), rng.choice(REMARKS + ["", ""])]
    return finish(rng, "\t".join(cells), region, p)


def shop_1688(rng):
    region, p = new_case(rng, company=True)
    post = f"（邮编：{p.postcode}）" if p.postcode else ""
    text = (f"公司名称：{p.company}，联系人：{p.name}，联系方式：{p.phones_inline(rng, '，')}，"
            f"收货地址：{region_text(rng, region, ['full'], '')}{region.street}{post}")
    return finish(rng, text, region, p)


def shop_copy_button(rng):
    region, p = new_case(rng, company=False)
    reg = region_text(rng, region, ["full", "short", "noprov"], " ")
    text = f"{p.name}\n{p.phones_inline(rng)}\n{reg} {region.street}"
    if rng.random() < 0.5:
        text = rng.choice(["【复制收货信息】\n", "收货信息：\n", "复制成功\n"]) + text
    if p.postcode:
        text += f" {p.postcode_typed}"
    return finish(rng, text, region, p)


def shop_sheet_row(rng):
    region, p = new_case(rng)
    words = region.pieces.get("spaced3", region.pieces["full"])
    cells = [p.name, p.phones_inline(rng, " ")] + list(words) + [region.street]
    if p.company:
        cells.insert(1, p.company)
    if p.postcode:
        cells.append(p.postcode)
    return finish(rng, "\t".join(cells), region, p)


# labelled: forms filled item by item

def lab_one_per_line(rng):
    region, p = new_case(rng)
    words = region.pieces["full"]
    town_label = (rng.choice(["镇", "乡镇", "镇/街道"]) if region.town.endswith("镇") else
                  rng.choice(["街道", "镇/街道"]) if region.town.endswith("街道") else rng.choice(["区县", "县区", "区"]))
    labels = [rng.choice(["省份", "省"]), rng.choice(["城市", "市"]), town_label]
    lines = [f"{rng.choice(['收件人', '姓名', '联系人'])}{colon(rng)}{p.name}", labelled_phones(rng, p)]
    if p.company:
        lines.insert(0, f"{rng.choice(['公司', '单位', '单位名称'])}{colon(rng)}{p.company}")
    if len(words) == 3:
        lines += [f"{labels[i]}{colon(rng)}{words[i]}" for i in range(3)]
    else:
        lines += [f"{labels[1]}{colon(rng)}{words[0]}", f"{labels[2]}{colon(rng)}{words[1]}"]
    lines.append(f"{rng.choice(['详细地址', '地址', '街道地址'])}{colon(rng)}{region.street}")
    if p.postcode:
        lines.append(f"邮编{colon(rng)}{p.postcode}")
    return finish(rng, "\n".join(lines), region, p)


def lab_several_a_line(rng):
    region, p = new_case(rng)
    gap = rng.choice(["  ", " ", "\t", "，"])
    first = f"姓名：{p.name}{gap}{labelled_phones(rng, p, gap)}"
    lines = [first, f"地址：{region_text(rng, region)}{region.street}"]
    if p.company:
        lines.insert(0, f"单位：{p.company}")
    if p.postcode:
        lines[-1] += f"{gap}邮编：{p.postcode}"
    return finish(rng, "\n".join(lines), region, p)


def lab_street_starts_with_district(rng):
    region, p = new_case(rng, rng.choice(["normal", "countycity", "autonomous", "municipality"]))
    words = region.pieces["full"]
    lines = [f"收货人{colon(rng)}{p.name}", labelled_phones(rng, p)]
    if len(words) == 3:
        lines += [f"{rng.choice(['省份', '省'])}{colon(rng)}{words[0]}", f"{rng.choice(['城市', '市'])}{colon(rng)}{words[1]}"]
    else:
        lines += [f"{rng.choice(['城市', '省市'])}{colon(rng)}{words[0]}"]
    lines.append(f"{rng.choice(['详细地址', '地址'])}{colon(rng)}{region.town}{region.street}")
    return finish(rng, "\n".join(lines), region, p)


def lab_county_then_town(rng):
    region, p = new_case(rng, rng.choice(["normal", "countycity", "autonomous"]))
    town = town_word(rng)
    words = region.pieces["full"]
    label = "县" if words[2].endswith("县") else rng.choice(["区县", "县区", "县/区", "县市"])
    lines = [f"姓名{colon(rng)}{p.name}", labelled_phones(rng, p), f"省{colon(rng)}{words[0]}", f"市{colon(rng)}{words[1]}",
             f"{label}{colon(rng)}{words[2]}", f"地址{colon(rng)}{town}{region.street}"]
    return finish(rng, "\n".join(lines), region, p, address=town + region.street)


def lab_area_with_subdistrict(rng):
    region, p = new_case(rng, rng.choice(["normal", "municipality", "countycity"]))
    office = rng.choice(STREET_OFFICES)
    lines = [f"{rng.choice(['收货人', '收件人'])}{colon(rng)}{p.name}", labelled_phones(rng, p),
             f"所在地区{colon(rng)}{region_text(rng, region, ['full'], ' ')} {office}",
             f"详细地址{colon(rng)}{region.street}"]
    return finish(rng, "\n".join(lines), region, p, address=office + region.street)


def lab_region_label(rng):
    region, p = new_case(rng)
    label = rng.choice(["省市区", "地区", "所在地区", "省/市/区"])
    lines = [f"联系人{colon(rng)}{p.name}", labelled_phones(rng, p),
             f"{label}{colon(rng)}{region_text(rng, region, ['full', 'short'])}", f"详细地址{colon(rng)}{region.street}"]
    country = ""
    if rng.random() < 0.4:
        lines.insert(2, f"国家{colon(rng)}中国")
        country = "中国"
    if p.postcode:
        lines.append(f"邮政编码{colon(rng)}{p.postcode}")
    return finish(rng, "\n".join(lines), region, p, country=country)


def lab_town_label(rng):
    region, p = new_case(rng, "below_city")
    prov = DIV[region.prov]
    lines = [f"姓名{colon(rng)}{p.name}", labelled_phones(rng, p), f"{rng.choice(['省份', '省'])}{colon(rng)}{prov}",
             f"{rng.choice(['城市', '市'])}{colon(rng)}{region.city}",
             f"{'街道' if region.town.endswith('街道') else rng.choice(['镇', '乡镇'])}{colon(rng)}{region.town}",
             f"地址{colon(rng)}{region.street}"]
    country = ""
    if rng.random() < 0.3:
        lines.insert(2, "国家：中国")
        country = "中国"
    return finish(rng, "\n".join(lines), region, p, country=country)


def lab_card(rng):
    region, p = new_case(rng, company=True)
    if not p.phone_typed or re.fullmatch(r"1\d{10}", p.phone):
        p.phone_typed, p.phone = landline(rng)  # a card's Tel is the desk telephone
        p.local_only = False
    lines = [p.company, f"{p.name} {rng.choice(['经理', '主任', '总监', ''])}".rstrip(),
             f"{rng.choice(['Tel', 'T', 'TEL', '电话'])}{rng.choice([':', '：', ' '])}{p.phone_typed}"]
    if p.mobile_typed:
        lines.append(f"{rng.choice(['M', 'Mob', '手机', 'Mobile'])}{rng.choice([':', '：', ' '])}{p.mobile_typed}")
    lines.append(f"{rng.choice(['地址', 'Add', '地址'])}{rng.choice([':', '：'])}{region_text(rng, region, ['full'], '')}{region.street}")
    if p.postcode:
        lines.append(f"邮编：{p.postcode}")
    return finish(rng, "\n".join(lines), region, p)


def lab_traditional(rng):
    region, p = new_case(rng, rng.choice(["normal", "municipality", "hk", "mo", "below_city"]))
    lines = [f"{rng.choice(['收件人', '姓名'])}：{p.name}", labelled_phones(rng, p).replace("手机", "手机"),
             f"{rng.choice(['詳細地址', '地址'])}：{region_text(rng, region, ['full', 'long'], '')}{region.street}"]
    if p.company:
        lines.insert(0, f"公司：{p.company}")
    return finish(rng, "\n".join(lines), region, p, trad=True)


def lab_inline_labels(rng):
    region, p = new_case(rng)
    text = (f"收件人 {p.name} 手机 {p.mobile_typed or p.phone_typed}"
            + (f" 电话 {p.phone_typed}" if p.mobile_typed and p.phone_typed and not p.has_local_only else "")
            + f" 地址 {region_text(rng, region, ['full', 'short'], ' ')} {region.street}")
    if p.company:
        text = f"单位 {p.company} " + text
    return finish(rng, text, region, p)


# auction: second-hand and auction-site one-liners

def auc_glued(rng):
    region, p = new_case(rng, company=False)
    text = f"{p.name}{p.mobile_typed or p.phone_typed}{region_text(rng, region, ['full', 'short'], '')}{region.street}"
    if p.postcode:
        text += rng.choice(["", " "]) + p.postcode
    if p.mobile_typed and p.phone_typed and not p.has_local_only:
        text += f" {p.phone_typed}"
    return finish(rng, text, region, p)


def auc_name_before_province(rng):
    region, p = new_case(rng, company=False)
    text = f"{p.phones_inline(rng)} {p.name}{region_text(rng, region, ['full', 'short'], '')}{region.street}"
    return finish(rng, text, region, p)


def auc_blanks(rng):
    region, p = new_case(rng, company=False)
    text = (f"{rng.choice(['', '  '])}{p.name}   {p.phones_inline(rng, '  ')}    "
            f"{region_text(rng, region, ['full', 'short', 'noprov'], '  ')}  {region.street}  ")
    return finish(rng, text, region, p)


def auc_slash_phones(rng):
    region, p = new_case(rng, "normal", company=False)
    if not p.mobile:
        p.mobile = mobile_digits(rng)
        p.mobile_typed = p.mobile
    if not p.phone_typed or p.has_local_only:
        p.phone_typed, p.phone = landline(rng)
        p.local_only = False
    text = f"{p.name} {p.phone_typed} / {p.mobile_typed} {region_text(rng, region)}{region.street}"
    return finish(rng, text, region, p)


def auc_address_first(rng):
    region, p = new_case(rng)
    text = f"{region_text(rng, region)}{region.street} {p.name} {p.phones_inline(rng)}"
    if p.company:
        text = f"{region_text(rng, region)}{region.street} {p.company} {p.name} {p.phones_inline(rng)}"
    return finish(rng, text, region, p)


def auc_phone_first(rng):
    region, p = new_case(rng, company=False)
    sep = rng.choice([" ", "，", ",", "  "])
    text = sep.join([p.phones_inline(rng), p.name, region_text(rng, region) + region.street])
    if p.postcode:
        text += sep + p.postcode
    return finish(rng, text, region, p)


def auc_street_first(rng):
    region, p = new_case(rng, rng.choice(["normal", "autonomous", "countycity", "municipality"]), company=False)
    sep = rng.choice(["，", ",", " "])
    text = sep.join([region.street, region_text(rng, region, ["full", "short", "noprov"], ""), p.name, p.phones_inline(rng)])
    return finish(rng, text, region, p)


def auc_district_only(rng):
    while True:
        region, p = new_case(rng, rng.choice(["normal", "municipality", "countycity"]), company=False)
        if "district" in region.pieces:
            break
    text = f"{p.name} {p.phones_inline(rng)} {region.town}{region.street}"
    return finish(rng, text, region, p)


def auc_prefix86(rng):
    region, p = new_case(rng, company=False)
    if not p.mobile:
        p.mobile = mobile_digits(rng)
    p.mobile_typed = rng.choice(["+86 ", "+86", "(+86)", "86-", "0086", "+86-"]) + p.mobile
    text = f"{p.name} {p.mobile_typed} {region_text(rng, region)}{region.street}"
    if p.phone_typed and not p.has_local_only:
        second_mobile = re.fullmatch(r"1\d{10}", p.phone)
        text += (" 备用" if second_mobile else " 座机") + p.phone_typed
    return finish(rng, text, region, p)


def auc_special(rng):
    region, p = new_case(rng, rng.choice(["hk", "mo", "tw"]), company=False)
    text = f"{p.name} {p.phones_inline(rng)} {region_text(rng, region)}{region.street}"
    return finish(rng, text, region, p, trad=rng.random() < 0.4)


# chat: free messages

def chat_please_send(rng):
    region, p = new_case(rng, company=False)
    text = (f"{rng.choice(GREETINGS)}，麻烦寄到{region_text(rng, region)}{region.street}，收件人是{p.name}，"
            f"电话{p.phones_inline(rng)}，{rng.choice(THANKS)}{rng.choice(EMOJI)}")
    return finish(rng, text, region, p)


def chat_name_alone(rng):
    region, p = new_case(rng, company=False)
    reg = region_text(rng, region, ["full", "short", "noprov"], rng.choice(["", " "]))
    text = (f"{rng.choice(GREETINGS)}\n\n{p.name}\n{p.phones_inline(rng)}\n{reg}\n{region.street}\n\n"
            f"发{rng.choice(COURIERS)}{rng.choice(['哈', '吧', '', '谢谢'])}")
    return finish(rng, text, region, p)


def chat_paren_receiver(rng):
    region, p = new_case(rng, company=False)
    text = (f"地址：{region_text(rng, region)}{region.street}（{p.name} 收）\n"
            f"电话：{p.phones_inline(rng)}")
    return finish(rng, text, region, p)


def chat_tail_receiver(rng):
    region, p = new_case(rng, company=False)
    text = f"{region_text(rng, region)}{region.street} {p.name}收 {p.phones_inline(rng)} {rng.choice(THANKS)}"
    return finish(rng, text, region, p)


def chat_qq(rng):
    region, p = new_case(rng, company=False)
    qq = str(rng.randint(10000, 9999999999))
    text = (f"寄到{region_text(rng, region)}{region.street}\n{p.name} {p.phones_inline(rng)}\n"
            f"{rng.choice(['QQ', 'qq', 'QQ号'])}：{qq}{rng.choice([' 微信同号', '', ' 有事QQ联系'])}")
    return finish(rng, text, region, p)


def chat_company_after(rng):
    region, p = new_case(rng, company=True)
    text = (f"寄：{region_text(rng, region)}{region.street} {p.company} {p.name} {p.phones_inline(rng)}"
            f"\n{rng.choice(['发' + rng.choice(COURIERS), '到付', ''])}")
    return finish(rng, text.rstrip(), region, p)


def chat_letter(rng):
    region, p = new_case(rng)
    title = rng.choice(TITLES[:-1])
    lines = [f"寄往：{region_text(rng, region, ['full'])}{region.street}"]
    if p.company:
        lines.append(p.company)
    lines += [f"烦交 {p.name} {title} 收", f"{rng.choice(['电话', '☎', '📞'])} {p.phones_inline(rng)}"]
    if p.postcode:
        lines.insert(1, f"邮编 {p.postcode}")
    return finish(rng, "\n".join(lines), region, p)


def chat_short_prefecture(rng):
    while True:
        region, p = new_case(rng, "autonomous", company=False)
        if "short" in region.pieces and region.pieces["short"][1].endswith("州"):
            break
    words = region.pieces["short"]
    reg = rng.choice(["".join(words[1:]), "".join(words), DIV[region.prov] + "".join(words[1:])])
    text = (f"{rng.choice(GREETINGS)}{rng.choice(EMOJI)} 寄{reg}{region.street}，"
            f"{p.name}，{p.phones_inline(rng)}，{rng.choice(THANKS)}")
    return finish(rng, text, region, p)


def chat_special_sender(rng):
    region, p = new_case(rng, rng.choice(["hk", "hk", "mo", "tw"]), company=None)
    reg = region_text(rng, region)
    lines = [f"{rng.choice(GREETINGS)}，寄到{reg}{region.street}", f"{p.name}{rng.choice(TITLES)}",
             f"电话 {p.phones_inline(rng)}", rng.choice(THANKS)]
    if p.company:
        lines.insert(2, p.company)
    return finish(rng, "\n".join(lines), region, p, trad=rng.random() < 0.5)


def chat_traditional(rng):
    region, p = new_case(rng, rng.choice(["normal", "municipality", "below_city", "countycity"]), company=False)
    text = (f"麻烦寄到{region_text(rng, region, ['full'])}{region.street}，{p.name}收，"
            f"电话{p.phones_inline(rng)}，{rng.choice(['谢谢', '谢谢啦'])}")
    return finish(rng, text, region, p, trad=True)


def chat_icons(rng):
    region, p = new_case(rng, company=False)
    lines = [f"{p.name}", f"{rng.choice(['📞', '☎', '☎️', 'Tel:', 'T:'])}{p.phones_inline(rng)}",
             f"{rng.choice(['🏠', '📍', '地址', ''])}{region_text(rng, region)}{region.street}"]
    if rng.random() < 0.5:
        lines.insert(1, "")
    return finish(rng, "\n".join(lines) + rng.choice(["", "\n" + rng.choice(THANKS)]), region, p)


TEMPLATES = {
    "shop": [shop_taobao_line, shop_jd_block, shop_pdd, shop_douyin, shop_xianyu, shop_wechat, shop_youzan_row,
             shop_1688, shop_copy_button, shop_sheet_row],
    "labelled": [lab_one_per_line, lab_several_a_line, lab_street_starts_with_district, lab_county_then_town,
                 lab_area_with_subdistrict, lab_region_label, lab_town_label, lab_card, lab_traditional,
                 lab_inline_labels],
    "auction": [auc_glued, auc_name_before_province, auc_blanks, auc_slash_phones, auc_address_first, auc_phone_first,
                auc_street_first, auc_district_only, auc_prefix86, auc_special],
    "chat": [chat_please_send, chat_name_alone, chat_paren_receiver, chat_tail_receiver, chat_qq, chat_company_after,
             chat_letter, chat_short_prefecture, chat_special_sender, chat_traditional, chat_icons],
}


def main():
    rng = random.Random(SEED)
    seen = set()
    out = []
    for kind in KINDS:
        made = 0
        templates = TEMPLATES[kind]
        attempts = 0
        while made < PER_KIND:
            attempts += 1
            if attempts > PER_KIND * 50:
                raise SystemExit(f"cannot make {PER_KIND} distinct {kind} texts")
            template = templates[made % len(templates)]
            text, expect = template(rng)
            full = {k: "" for k in FIELDS}
            full.update(expect)
            entry = {"text": text, "kind": kind, "expect": full}
            if text in seen:
                continue
            check(entry, seen)
            out.append(entry)
            made += 1
    with open(OUTPUT, "w", encoding="utf-8") as f:
        for entry in out:
            f.write(json.dumps(entry, ensure_ascii=False) + "\n")
    print(f"wrote {len(out)} texts to {os.path.relpath(OUTPUT, ROOT)}")


if __name__ == "__main__":
    main()
