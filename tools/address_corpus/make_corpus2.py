#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_tuning2.jsonl: a second labelled corpus of
receiver texts, written from scratch by another hand, for tuning the address parser.

    tools/address_corpus/make_corpus2.py [--out PATH]

Deterministic (fixed seed), standard library only. 480 texts, 120 of each kind
(shop, labelled, auction, chat). Expected values follow "Conventions of `expect`"
in tests/batch/data/README.md; every record is checked before it is written
(regions exist in resources/regions/divisions.txt, name/company/street occur in the
text, phone digits occur in the text, no text twice).
"""

import argparse
import json
import os
import random
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DIVISIONS = os.path.join(ROOT, "resources", "regions", "divisions.txt")
DEFAULT_OUT = os.path.join(ROOT, "tests", "batch", "data", "address_corpus_tuning2.jsonl")
PER_KIND = 120
FIELDS = ("company", "name", "phone", "mobile", "country", "province", "city", "town",
          "address", "postcode")

# ---------------------------------------------------------------- divisions

MUNICIPALITIES = {"11", "12", "31", "50"}
AUTONOMOUS_REGIONS = {"15": "内蒙古", "45": "广西", "54": "西藏", "64": "宁夏", "65": "新疆"}
SAR = {"81": "香港", "82": "澳门"}


class Divisions:
    def __init__(self, path):
        self.names = {}
        with open(path, encoding="utf-8") as f:
            for line in f:
                code, name = line.rstrip("\n").split("\t")
                self.names[code] = name
        self.provinces = sorted(c for c in self.names if len(c) == 2)
        self.prefectures = sorted(c for c in self.names if len(c) == 4)
        self.counties = sorted(c for c in self.names if len(c) == 6)
        self.county_name_count = {}
        for c in self.counties:
            n = self.names[c]
            self.county_name_count[n] = self.county_name_count.get(n, 0) + 1
        self.prefecture_name_count = {}
        for c in self.prefectures:
            n = self.names[c]
            self.prefecture_name_count[n] = self.prefecture_name_count.get(n, 0) + 1

    def place_words(self):
        """Every division name and its form without the last character (江宁区 → 江宁)."""
        words = set()
        for n in self.names.values():
            words.add(n)
            if len(n) >= 3:
                words.add(n[:-1])
        return words

    def children(self, code):
        return [c for c in (self.prefectures if len(code) == 2 else self.counties)
                if c.startswith(code) and c != code]

    def county_unique(self, name):
        return (self.county_name_count.get(name, 0) == 1
                and name not in self.prefecture_name_count)

    def prefecture_unique(self, name):
        return (self.prefecture_name_count.get(name, 0) == 1
                and self.county_name_count.get(name, 0) <= 1)

    def province_of_expect(self, value):
        """Full division name for an expected province value."""
        for c in self.provinces:
            full = self.names[c]
            if value == full or value == province_expect(c, full):
                return full
        return None


def province_expect(code, full):
    """The province as the parser's convention writes it: short for municipalities,
    autonomous regions, Hong Kong and Macau, full otherwise."""
    if code in MUNICIPALITIES:
        return full[:-1]
    if code in AUTONOMOUS_REGIONS:
        return AUTONOMOUS_REGIONS[code]
    if code in SAR:
        return SAR[code]
    return full


def province_short(code, full):
    if code in MUNICIPALITIES or code in AUTONOMOUS_REGIONS or code in SAR:
        return province_expect(code, full)
    if code == "71":
        return "台湾"
    return full[:-1] if full.endswith("省") else full


def city_short(name):
    if name.endswith("市") and len(name) >= 3:
        return name[:-1]
    return name


# Towns (镇/街道) of the prefecture cities without counties and of the cities that
# stand directly under their province; the division table stops above them.
STREET_TOWNS = {
    "东莞市": ["长安镇", "虎门镇", "厚街镇", "塘厦镇", "常平镇", "南城街道", "东城街道", "莞城街道", "大朗镇", "寮步镇"],
    "中山市": ["石岐街道", "东区街道", "小榄镇", "古镇镇", "三乡镇", "坦洲镇", "沙溪镇", "南头镇"],
    "儋州市": ["那大镇", "白马井镇", "和庆镇", "木棠镇", "中和镇"],
    "嘉峪关市": ["峪泉镇", "新城镇", "文殊镇"],
    "仙桃市": ["干河街道", "龙华山街道", "沙嘴街道", "郑场镇", "彭场镇", "毛嘴镇"],
    "天门市": ["竟陵街道", "岳口镇", "皂市镇", "渔薪镇"],
    "潜江市": ["园林街道", "杨市街道", "王场镇", "熊口镇", "竹根滩镇"],
    "济源市": ["沁园街道", "济水街道", "北海街道", "天坛街道", "梨林镇", "克井镇", "轵城镇"],
    "琼海市": ["嘉积镇", "博鳌镇", "万泉镇", "潭门镇", "中原镇"],
}
# 镇/街道 written under a county: they stay in the address.
COUNTY_TOWNS = ["城关镇", "新华镇", "城东街道", "城南街道", "太平镇", "永安镇", "石桥镇",
                "东山街道", "南湖街道", "青石镇", "河口镇", "龙泉镇", "白沙镇", "红星街道"]

COLLOQUIAL_PREFECTURES = {
    "甘南藏族自治州": "甘南州", "湘西土家族苗族自治州": "湘西州", "黔东南苗族侗族自治州": "黔东南州",
    "凉山彝族自治州": "凉山州", "延边朝鲜族自治州": "延边州", "大理白族自治州": "大理州",
    "恩施土家族苗族自治州": "恩施州", "西双版纳傣族自治州": "西双版纳州", "红河哈尼族彝族自治州": "红河州",
    "黔南布依族苗族自治州": "黔南州", "阿坝藏族羌族自治州": "阿坝州", "甘孜藏族自治州": "甘孜州",
    "临夏回族自治州": "临夏州", "海西蒙古族藏族自治州": "海西州", "伊犁哈萨克自治州": "伊犁州",
}

AREA_CODES = {
    "北京市": "010", "上海市": "021", "天津市": "022", "重庆市": "023", "广州市": "020",
    "深圳市": "0755", "杭州市": "0571", "宁波市": "0574", "温州市": "0577", "南京市": "025",
    "苏州市": "0512", "无锡市": "0510", "武汉市": "027", "成都市": "028", "西安市": "029",
    "沈阳市": "024", "长沙市": "0731", "郑州市": "0371", "济南市": "0531", "青岛市": "0532",
    "合肥市": "0551", "福州市": "0591", "厦门市": "0592", "南昌市": "0791", "昆明市": "0871",
    "贵阳市": "0851", "南宁市": "0771", "海口市": "0898", "兰州市": "0931", "西宁市": "0971",
    "银川市": "0951", "乌鲁木齐市": "0991", "呼和浩特市": "0471", "哈尔滨市": "0451",
    "长春市": "0431", "石家庄市": "0311", "太原市": "0351", "拉萨市": "0891", "东莞市": "0769",
    "中山市": "0760", "佛山市": "0757", "珠海市": "0756", "汕头市": "0754", "大连市": "0411",
    "绍兴市": "0575", "金华市": "0579", "嘉兴市": "0573", "徐州市": "0516", "洛阳市": "0379",
}
# Area code of the capital, for receivers whose own city is not listed above.
PROVINCE_AREA_CODES = {
    "11": "010", "12": "022", "13": "0311", "14": "0351", "15": "0471", "21": "024", "22": "0431",
    "23": "0451", "31": "021", "32": "025", "33": "0571", "34": "0551", "35": "0591", "36": "0791",
    "37": "0531", "41": "0371", "42": "027", "43": "0731", "44": "020", "45": "0771", "46": "0898",
    "50": "023", "51": "028", "52": "0851", "53": "0871", "54": "0891", "61": "029", "62": "0931",
    "63": "0971", "64": "0951", "65": "0991",
}
POST_PREFIX = {
    "11": ["10"], "12": ["30"], "13": ["05", "06", "07"], "14": ["03", "04"], "15": ["01", "02"],
    "21": ["11", "12"], "22": ["13"], "23": ["15", "16"], "31": ["20"], "32": ["21", "22"],
    "33": ["31", "32"], "34": ["23", "24"], "35": ["35", "36"], "36": ["33", "34"],
    "37": ["25", "26", "27"], "41": ["45", "46", "47"], "42": ["43", "44"], "43": ["41", "42"],
    "44": ["51", "52"], "45": ["53", "54"], "46": ["57"], "50": ["40"], "51": ["61", "62", "64"],
    "52": ["55", "56"], "53": ["65", "66", "67"], "54": ["85"], "61": ["71", "72"],
    "62": ["73", "74"], "63": ["81"], "64": ["75"], "65": ["83", "84"],
}

# ---------------------------------------------------------------- people and things

SURNAMES = list("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘"
                "蒋蔡余杜叶程魏吕丁沈任姚卢傅钟姜崔谭廖范汪陆金石戴贾韦夏邱方侯邹熊孟秦白江"
                "闫薛尹段雷黎史龙陶贺顾毛郝龚邵万钱严覃武洪莫孔汤向常温康施文牛樊葛邢安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧耿关兰焦俞左柳甘祝包宁尚符舒阮柯纪梅童凌毕单季裴霍涂成苗谷盛曲翁冉骆蓝路游辛靳管柴蒙鲍华喻祁蒲房滕屈饶解牟艾尤阳时穆农司卓古吉缪简车项连芦麦褚娄窦戚岑景党宫费卜冷晏席卫米柏宗瞿桂全佟应臧闵苟邬边卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞敖巩明佘池查麻苑迟邝")
COMPOUND_SURNAMES = ["司马", "欧阳", "诸葛", "端木", "上官", "皇甫", "东方", "慕容", "令狐", "公孙",
                     "夏侯", "尉迟", "宇文", "长孙", "轩辕", "南宫", "司徒", "澹台", "呼延", "钟离"]
GIVEN_CHARS = list("伟芳娜敏静丽强磊洋艳勇军杰娟涛明超秀霞平刚桂英华玉萍红娥玲芬燕彬鹏辉斌宇浩凯健俊帆帅"
                   "旭宁亮飞云颖琳晨欣怡悦佳雪梦雨婷倩璐瑶晶岚蕾薇菲妍彤馨月欢峰鑫波宏志海春晓雅琪蓉"
                   "瑞翔博文思嘉睿泽涵轩逸然航睿楠昊哲腾毅晖琦舒婉茜蕊")
MINORITY_NAMES = ["阿依古丽", "达瓦卓玛", "乌云其木格", "巴特尔", "次仁央宗", "热依拉", "古丽米热",
                  "格桑梅朵", "扎西顿珠", "阿不都", "其其格", "斯琴高娃", "努尔兰", "白玛曲珍"]
# Names that are words of an address, a chat or a label are no names a reader takes as such.
NAME_BLOCK = re.compile(r"[省市区县镇乡村路街道号楼室收电话手机地址谢亲]")

COMPANY_WORDS = ["青禾", "恒远", "瑞丰", "华信", "锦程", "博雅", "天成", "嘉禾", "宏达", "金石",
                 "正元", "汇通", "佳美", "鼎盛", "新越", "北辰", "海纳", "启明", "和泰", "润生"]
COMPANY_TRADES = ["贸易有限公司", "科技有限公司", "电子有限公司", "服饰有限公司", "食品有限公司",
                  "文化传媒有限公司", "机械设备有限公司", "律师事务所", "会计师事务所", "设计工作室",
                  "物流有限公司", "医疗器械有限公司"]
INSTITUTIONS = ["第一人民医院", "第二中学", "实验小学", "职业技术学院", "中心医院", "图书馆",
                "妇幼保健院", "人民法院", "市场监督管理局"]

ROAD_WORDS = ["人民", "解放", "建设", "文化", "和平", "新华", "胜利", "幸福", "光明", "学府", "滨江",
              "长江", "黄河", "东风", "青年", "工业", "振兴", "团结", "迎宾", "公园", "花园", "金桥",
              "望江", "凤凰", "育才", "健康", "丰收", "荣华", "春晖", "新民", "兴业", "富强",
              "红旗", "五一", "八一", "劳动", "体育", "朝阳", "锦绣", "翠竹", "桂花", "梧桐"]
ROAD_KINDS = ["路", "路", "路", "街", "大道", "大街", "中路", "东路", "西路", "南路", "北路"]
ESTATES = ["阳光", "翠苑", "金色", "锦华", "绿城", "碧水", "华府", "星河", "丽景", "紫荆", "天悦", "水岸"]
ESTATE_KINDS = ["花园", "家园", "公寓", "雅苑", "新村", "名苑"]
TOWERS = ["国贸大厦", "金融中心", "科技大厦", "商务中心", "时代广场", "创业园"]

HK_STREETS = {"香港岛": ["轩尼诗道", "皇后大道中", "德辅道中", "英皇道", "告士打道"],
              "九龙": ["弥敦道", "亚皆老街", "太子道西", "加士居道", "窝打老道"],
              "新界": ["青山公路", "城门道", "河背街", "众安街"]}
MO_STREETS = {"澳门半岛": ["新马路", "水坑尾街", "俾利喇街", "罗保博士街", "高士德大马路", "黑沙环中街"],
              "氹仔岛": ["地堡街", "布拉干萨街", "告利雅施利华街"],
              "路环岛": ["十月初五马路", "船人街"]}
TW_STREETS = ["忠孝东路四段", "仁爱路三段", "敦化南路一段", "民生东路二段", "中山北路二段", "复兴南路一段",
              "文化路", "中正路", "民权路", "建国路"]
HK_BUILDINGS = ["大厦", "中心", "商业大厦", "花园", "广场"]

REMARKS = ["请尽快发货", "不要放快递柜", "工作日白天送", "包装结实一点", "发顺丰谢谢", "送货前打电话",
           "无", "周末也可以送", "放门卫就行", "易碎品轻拿轻放"]
GOODS = ["纯棉T恤 白色 XL", "保温杯 500ml", "蓝牙耳机", "茶叶礼盒", "儿童绘本 一套", "手机壳 透明款",
         "瑜伽垫", "不锈钢锅", "复古台灯", "帆布包 米色"]
EMOJI = ["😊", "🙏", "📦", "👍", "❤️", "😄", "🌹"]
CARRIERS = ["顺丰", "韵达", "中通", "圆通", "申通", "邮政", "京东快递"]

# Simplified → traditional for the characters these texts use; only characters with one
# traditional form are listed (云/台/干/里/发/系 and the like stay as they are).
TRAD_PAIRS = (
    "广廣东東区區号號楼樓电電话話详詳细細门門湾灣龙龍岛島圣聖马馬凤鳳顺順华華业業园園厦廈单單"
    "层層陈陳黄黃张張刘劉杨楊赵趙吴吳郑鄭谢謝罗羅苏蘇叶葉钟鍾丽麗伟偉国國强強军軍红紅兰蘭卫衛"
    "辉輝宝寶贤賢荣榮乐樂义義汉漢兴興鸿鴻联聯机機码碼邮郵编編贸貿医醫学學弥彌铜銅锣鑼轩軒诗詩"
    "观觀贡貢离離屿嶼头頭莞莞长長关關环環玛瑪风風济濟亚亞罗羅宾賓场場总總经經设設计計师師务務"
    "麻麻烦煩谢謝请請丰豐货貨时時间間边邊岗崗湖湖禅禪顺順汕汕桥橋庄莊内內万萬复復兴興仁仁爱愛"
    "敦敦权權筑築荟薈汇匯达達远遠盛盛锦錦程程鼎鼎宏宏实實验驗职職术術妇婦幼幼护護馆館庙廟厅廳"
    "帅帥宁寧颖穎琳琳晓曉梦夢雾霧倩倩岚嵐蕾蕾馨馨欢歡峰峰鑫鑫涛濤娟娟杰傑鹏鵬斌斌凯凱健健俊俊"
    "飞飛亮亮云云怡怡悦悅佳佳雪雪婷婷瑶瑤晶晶薇薇菲菲妍妍彤彤玲玲芬芬燕燕艳艷勇勇静靜敏敏娜娜"
    "芳芳磊磊洋洋刚剛桂桂英英玉玉萍萍娥娥泽澤涵涵轩軒逸逸然然航航睿睿楠楠昊昊哲哲腾騰毅毅晖暉"
    "琦琦舒舒婉婉茜茜蕊蕊邝鄺温溫区區"
    "别別镇鎮榄欖从從盐鹽坜壢辅輔乡鄉会會孙孫绿綠荆荊创創阳陽胜勝滨濱团團结結劳勞动動体體绣繡"
    "恒恆远遠纳納启啟润潤饰飾传傳备備疗療图圖监監实實验驗职職术術许許韩韓冯馮邓鄧萧蕭欧歐诸諸"
    "买買订訂数數递遞韵韻圆圓吗嗎帮幫给給们們这這个個亲親发發系繫注註云雲栋棟络絡县縣"
    "设設计計师師务務达達汇匯义義爱愛权權复復庄莊内內桥橋亚亞环環济濟风風玛瑪贡貢离離岛島观觀"
)
TRAD = {TRAD_PAIRS[i]: TRAD_PAIRS[i + 1] for i in range(0, len(TRAD_PAIRS), 2)}


def to_trad(s):
    return "".join(TRAD.get(ch, ch) for ch in s)


# ---------------------------------------------------------------- regions

class Region:
    """One receiver's region: the expected values and the pieces it can be typed with."""

    def __init__(self, kind, pcode, prov_full, city, town):
        self.kind = kind              # county | street_town | hk | mo | tw
        self.pcode = pcode
        self.prov_full = prov_full
        self.province = province_expect(pcode, prov_full)
        self.city = city
        self.town = town
        self.county_town = ""         # a 镇/街道 under a county, kept in the address

    @property
    def municipal(self):
        return self.pcode in MUNICIPALITIES


# Development zones and sea areas are listed as counties but nobody writes them as one.
ZONE_WORDS = ("开发区", "园区", "海域", "示范区", "管理区", "试验区", "合作区")


class RegionPicker:
    def __init__(self, div, rng):
        self.div = div
        self.rng = rng
        self.pools = {k: [] for k in ("province", "municipality", "autonomous_region",
                                      "autonomous_prefecture", "county_city", "hk", "mo", "tw")}
        for p in div.provinces:
            full = div.names[p]
            if p in MUNICIPALITIES:
                for c in div.counties:
                    if c.startswith(p):
                        self.pools["municipality"].append((p, full, full, div.names[c]))
                continue
            for pref in div.children(p):
                city = div.names[pref]
                for c in div.children(pref):
                    town = div.names[c]
                    if town == city or any(w in town for w in ZONE_WORDS):
                        continue
                    row = (p, full, city, town)
                    if p == "81":
                        self.pools["hk"].append(row)
                    elif p == "82":
                        self.pools["mo"].append(row)
                    elif p == "71":
                        self.pools["tw"].append(row)
                    elif p in AUTONOMOUS_REGIONS:
                        self.pools["autonomous_region"].append(row)
                    elif city.endswith(("自治州", "盟", "地区")):
                        self.pools["autonomous_prefecture"].append(row)
                    elif town.endswith("市"):
                        self.pools["county_city"].append(row)
                    else:
                        self.pools["province"].append(row)
        self.direct = {}              # 省直辖 cities: name -> province code
        for c in div.counties:
            if c[:4] not in div.names and div.names[c] in STREET_TOWNS:
                self.direct[div.names[c]] = c[:2]
        self.prefecture_only = {}     # prefecture cities without counties
        for pref in div.prefectures:
            if div.names[pref] in STREET_TOWNS:
                self.prefecture_only[div.names[pref]] = pref[:2]

    def pick(self, category):
        rng = self.rng
        if category == "street_town":
            table = dict(self.direct)
            table.update(self.prefecture_only)
            city = rng.choice(sorted(table))
            p = table[city]
            return Region("street_town", p, self.div.names[p], city, rng.choice(STREET_TOWNS[city]))
        if category == "gd":
            rows = [r for r in self.pools["province"] + self.pools["county_city"]
                    if r[0] == "44" and r[2] in TRAD_PREFECTURES]
            p, full, city, town = rng.choice(rows)
            return Region("county", p, full, city, town)
        if category == "gd_town":
            city = rng.choice(["东莞市", "中山市"])
            return Region("street_town", "44", self.div.names["44"], city, rng.choice(STREET_TOWNS[city]))
        if category == "colloquial":
            rows = [r for r in self.pools["autonomous_prefecture"] if r[2] in COLLOQUIAL_PREFECTURES]
            p, full, city, town = rng.choice(rows)
            return Region("county", p, full, city, town)
        p, full, city, town = rng.choice(self.pools[category])
        kind = category if category in ("hk", "mo", "tw") else "county"
        return Region(kind, p, full, city, town)


CATEGORY_WEIGHTS = [("province", 34), ("municipality", 12), ("autonomous_region", 8),
                    ("autonomous_prefecture", 8), ("county_city", 10), ("street_town", 10),
                    ("colloquial", 4), ("hk", 5), ("mo", 4), ("tw", 5)]


def region_styles(div, reg):
    """Ways this region may be typed; each a list of parts joined with "" or a blank."""
    styles = {}
    if reg.kind == "hk":
        styles["full"] = ["香港特别行政区", reg.city, reg.town]
        styles["short"] = ["香港", reg.city, reg.town]
        if reg.city == "香港岛":
            styles["noprov"] = ["港岛", reg.town]
        return styles
    if reg.kind == "mo":
        styles["full"] = ["澳门特别行政区", reg.city, reg.town]
        styles["short"] = ["澳门", reg.city, reg.town]
        return styles
    if reg.kind == "tw":
        styles["full"] = ["台湾省", reg.city, reg.town]
        styles["short"] = ["台湾", reg.city, reg.town]
        if div.prefecture_unique(reg.city):
            styles["noprov"] = [reg.city, reg.town]
        return styles
    pshort = province_short(reg.pcode, reg.prov_full)
    if reg.municipal:
        styles["full"] = [reg.prov_full, reg.town]
        styles["short"] = [pshort, reg.town]
        styles["taobao"] = [pshort, reg.city, reg.town]
        if div.county_unique(reg.town) and len(reg.town) >= 4:
            styles["nocity"] = [reg.town]
        return styles
    styles["full"] = [reg.prov_full, reg.city, reg.town]
    if not reg.city.startswith(pshort) and not city_short(reg.city).startswith(pshort):
        styles["short"] = [pshort, city_short(reg.city), reg.town]
    if div.prefecture_unique(reg.city):
        styles["noprov"] = [reg.city, reg.town]
    if reg.kind == "county" and div.county_unique(reg.town) and len(reg.town) >= 3:
        styles["nocity"] = [reg.prov_full, reg.town]
    if reg.city in COLLOQUIAL_PREFECTURES:
        styles["colloquial"] = [COLLOQUIAL_PREFECTURES[reg.city], reg.town]
        styles["colloquial_prov"] = [reg.prov_full, COLLOQUIAL_PREFECTURES[reg.city], reg.town]
    return styles


def typed_region(div, rng, reg, prefer=None, spaced=None, need_province=False):
    styles = region_styles(div, reg)
    if prefer and prefer in styles:
        key = prefer
    else:
        keys = [k for k in styles if not k.startswith("colloquial")]
        if need_province:
            keys = [k for k in keys if k not in ("noprov", "nocity") or reg.municipal and k == "full"]
            keys = [k for k in keys if k != "nocity" or not reg.municipal]
        weights = {"full": 5, "short": 2, "taobao": 1, "noprov": 2, "nocity": 1}
        key = rng.choices(keys, [weights.get(k, 1) for k in keys])[0]
    parts = styles[key]
    if spaced is None:
        spaced = rng.random() < 0.25
    return (" " if spaced else "").join(parts)


# ---------------------------------------------------------------- values

def make_name(rng):
    r = rng.random()
    if r < 0.08:
        return rng.choice(MINORITY_NAMES)
    if r < 0.22:
        return rng.choice(COMPOUND_SURNAMES) + "".join(rng.choice(GIVEN_CHARS) for _ in range(rng.choice((1, 2, 2))))
    n = rng.choice((1, 2, 2, 2)) if r < 0.95 else 3
    return rng.choice(SURNAMES) + "".join(rng.choice(GIVEN_CHARS) for _ in range(n))


def make_company(rng, reg):
    place = city_short(reg.city) if reg.kind == "county" and len(city_short(reg.city)) <= 3 else ""
    if rng.random() < 0.3 and place:
        return reg.city + rng.choice(INSTITUTIONS)
    return place + rng.choice(COMPANY_WORDS) + rng.choice(COMPANY_TRADES)


MOBILE_PREFIXES = ["130", "131", "132", "133", "134", "135", "136", "137", "138", "139", "147", "150",
                   "151", "152", "153", "155", "156", "157", "158", "159", "166", "173", "176", "177",
                   "178", "180", "181", "182", "183", "185", "186", "187", "188", "189", "191", "198", "199"]


def mobile_digits(rng):
    return rng.choice(MOBILE_PREFIXES) + "".join(rng.choice("0123456789") for _ in range(8))


def typed_mobile(rng, digits, plain=False):
    if plain:
        return digits
    r = rng.random()
    if r < 0.62:
        return digits
    if r < 0.72:
        return f"{digits[:3]} {digits[3:7]} {digits[7:]}"
    if r < 0.79:
        return f"{digits[:3]}-{digits[3:7]}-{digits[7:]}"
    return rng.choice(("+86 ", "+86", "(+86)", "86-", "0086 ", "+86-")) + digits


def local_number(rng, length):
    return rng.choice("2345678") + "".join(rng.choice("0123456789") for _ in range(length - 1))


def landline(rng, reg):
    """(typed, expected) of a mainland landline in one of the ways people type one."""
    area = AREA_CODES.get(reg.city) or PROVINCE_AREA_CODES[reg.pcode]
    n = local_number(rng, 8 if len(area) == 3 or rng.random() < 0.6 else 7)
    form = rng.choice(("plain", "plain", "blank_area", "blank_inside", "blank_inside", "prefix86",
                       "paren", "extension"))
    if form == "blank_area":
        return f"{area} {n}", f"{area}-{n}"
    if form == "blank_inside":
        cut = 4 if len(n) == 8 else rng.choice((3, 4))
        sep = rng.choice(("-", "-", " "))
        return f"{area}{sep}{n[:cut]} {n[cut:]}", f"{area}-{n}"
    if form == "prefix86":
        pre = rng.choice(("86-", "+86 ", "(+86)"))
        return f"{pre}{area}-{n}", f"{area}-{n}"
    if form == "paren":
        return f"({area}){n}", f"({area}){n}"
    if form == "extension":
        ext = str(rng.randint(100, 899))
        return f"{area}-{n}-{ext}", f"{area}-{n}-{ext}"
    return f"{area}-{n}", f"{area}-{n}"


def foreign_phone(rng, reg):
    if reg.kind == "hk":
        n = rng.choice("69235") + "".join(rng.choice("0123456789") for _ in range(7))
        return rng.choice((f"+852 {n[:4]} {n[4:]}", f"(852){n}", f"{n[:4]} {n[4:]}", f"+852-{n}")), n
    if reg.kind == "mo":
        n = rng.choice(("66", "62", "28")) + "".join(rng.choice("0123456789") for _ in range(6))
        return rng.choice((f"+853 {n[:4]} {n[4:]}", f"(853){n}", f"{n[:4]} {n[4:]}")), n
    if rng.random() < 0.5:
        t = f"09{rng.randint(10, 89)}-{rng.randint(100, 999)}-{rng.randint(100, 999)}"
    else:
        area = rng.choice("2467")
        if area in "24":
            t = f"0{area}-{rng.randint(2000, 2999)}-{rng.randint(1000, 9999)}"
        else:
            t = f"0{area}-{rng.randint(200, 799)}-{rng.randint(1000, 9999)}"
    return t, t


def fax_number(rng, r):
    """A fax number: in no field of the receiver."""
    area = AREA_CODES.get(r.reg.city) or PROVINCE_AREA_CODES[r.reg.pcode]
    return f"{area}-{local_number(rng, 8 if len(area) == 3 else 7)}"


def make_postcode(rng, reg):
    prefix = rng.choice(POST_PREFIX[reg.pcode])
    return prefix + str(rng.randint(0, 9)) + rng.choice(("0", "1", "2", "3")) + rng.choice(("00", "01", "05", "11", "12", "21", "31"))


def make_street(rng, reg):
    if reg.kind == "hk":
        return (f"{rng.choice(HK_STREETS[reg.city])}{rng.randint(1, 388)}号{rng.choice(ESTATES)}"
                f"{rng.choice(HK_BUILDINGS)}{rng.randint(2, 32)}楼{rng.choice('ABCDEF')}室")
    if reg.kind == "mo":
        return f"{rng.choice(MO_STREETS[reg.city])}{rng.randint(1, 200)}号{rng.choice(ESTATES)}大厦{rng.randint(2, 20)}楼{rng.choice('ABCD')}"
    if reg.kind == "tw":
        if rng.random() < 0.4:
            return f"{rng.choice(TW_STREETS)}{rng.randint(10, 200)}巷{rng.randint(1, 30)}号{rng.randint(2, 12)}楼"
        return f"{rng.choice(TW_STREETS)}{rng.randint(1, 300)}号" + rng.choice((f"{rng.randint(2, 15)}楼", ""))
    road = rng.choice(ROAD_WORDS) + rng.choice(ROAD_KINDS)
    num = rng.randint(1, 999)
    r = rng.random()
    if r < 0.3:
        street = f"{road}{num}号"
    elif r < 0.55:
        street = (f"{road}{num}号{rng.choice(ESTATES)}{rng.choice(ESTATE_KINDS)}"
                  f"{rng.randint(1, 28)}栋{rng.randint(1, 4)}单元{rng.randint(1, 26)}0{rng.randint(1, 4)}室")
    elif r < 0.7:
        street = f"{road}{num}号{rng.choice(TOWERS)}{rng.randint(2, 30)}楼"
    elif r < 0.85:
        street = f"{road}{num}弄{rng.randint(1, 60)}号{rng.randint(1, 18)}0{rng.randint(1, 4)}室"
    else:
        street = f"{rng.choice(ESTATES)}{rng.choice(ESTATE_KINDS)}{rng.randint(1, 30)}幢{rng.randint(1, 24)}0{rng.randint(1, 6)}"
    return street


# ---------------------------------------------------------------- one receiver

TRAD_SURNAMES = list("陈黄张李王林刘吴杨郑梁何谢罗苏叶钟邝温周徐蔡许曾邓冯郭胡萧")
TRAD_COMPOUND = ["司马", "欧阳", "诸葛", "上官", "东方", "慕容", "公孙", "司徒"]
TRAD_PREFECTURES = {"广州市", "深圳市", "佛山市", "珠海市", "东莞市", "中山市", "汕头市"}


class Receiver:
    """The values of one receiver; a template types them and may adjust what is expected."""

    def __init__(self, gen, category=None, trad=False):
        rng = gen.rng
        self.gen = gen
        self.trad = trad
        if category is None:
            category = rng.choices([c for c, _ in CATEGORY_WEIGHTS], [w for _, w in CATEGORY_WEIGHTS])[0]
        self.reg = gen.regions.pick(category)
        reg = self.reg
        foreign = reg.kind in ("hk", "mo", "tw")
        if trad:
            if rng.random() < 0.2:
                self.name = rng.choice(TRAD_COMPOUND) + "".join(rng.choice(GIVEN_CHARS) for _ in range(rng.choice((1, 2))))
            else:
                self.name = rng.choice(TRAD_SURNAMES) + "".join(rng.choice(GIVEN_CHARS) for _ in range(rng.choice((1, 2, 2))))
        else:
            self.name = make_name(rng)
        self.street = make_street(rng, reg)
        if reg.kind == "county" and rng.random() < 0.22:
            reg.county_town = rng.choice(COUNTY_TOWNS)
            self.street = reg.county_town + self.street
        self.company = make_company(rng, reg) if rng.random() < 0.18 else ""
        self.postcode = make_postcode(rng, reg) if not foreign and rng.random() < 0.35 else ""
        self.country = False
        self.mobile = None            # (typed, expected)
        self.phone = None             # (typed, expected)
        if foreign:
            self.phone = foreign_phone(rng, reg)
            if rng.random() < 0.2:
                d = mobile_digits(rng)
                self.mobile = (typed_mobile(rng, d), d)
        else:
            r = rng.random()
            if r < 0.62:
                d = mobile_digits(rng)
                self.mobile = (typed_mobile(rng, d), d)
            elif r < 0.80:
                d = mobile_digits(rng)
                self.mobile = (typed_mobile(rng, d), d)
                self.phone = landline(rng, reg)
            elif r < 0.90:
                d, d2 = mobile_digits(rng), mobile_digits(rng)
                self.mobile = (typed_mobile(rng, d), d)
                self.phone = (d2, d2)   # a second mobile goes to phone
            else:
                self.phone = landline(rng, reg)
        self.address = self.street
        self.city_override = None

    def region(self, **kw):
        return typed_region(self.gen.div, self.gen.rng, self.reg, **kw)

    def contact_numbers(self):
        """Typed numbers in their usual order: mobile first."""
        return [x[0] for x in (self.mobile, self.phone) if x]

    def expect(self):
        reg = self.reg
        conv = to_trad if self.trad else (lambda s: s)
        return {
            "company": conv(self.company),
            "name": conv(self.name),
            "phone": self.phone[1] if self.phone else "",
            "mobile": self.mobile[1] if self.mobile else "",
            "country": "中国" if self.country else "",
            "province": reg.province,
            "city": reg.city,
            "town": reg.town,
            "address": conv(self.address),
            "postcode": self.postcode,
        }


def order_number(rng):
    return "".join(rng.choice("0123456789") for _ in range(rng.choice((16, 18, 19)))).lstrip("0") or "1"


def order_time(rng):
    return (f"2024-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d} "
            f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:{rng.randint(0, 59):02d}")


def lbl(rng, word, seps=("：", "：", ":", " : ", " ")):
    return word + rng.choice(seps)


def numbers(r, landline_first=False):
    """The typed numbers in text order. A second mobile always comes after the first."""
    second_mobile = r.phone and r.mobile and r.phone[1].isdigit() and len(r.phone[1]) == 11
    if landline_first and r.phone and not second_mobile:
        return [x[0] for x in (r.phone, r.mobile) if x]
    return r.contact_numbers()


def local8_at_end(rng, r):
    """Turns the phone into an 8-digit local number the template writes at a line end."""
    if r.reg.kind not in ("hk", "mo", "tw") and r.mobile and rng.random() < 0.5:
        n = local_number(rng, 8)
        r.phone = (n, n)
        return True
    return False


# ---------------------------------------------------------------- shop exports

def shop_taobao(g, r):
    rng = g.rng
    r.company = ""
    region = r.region(prefer="taobao" if r.reg.municipal else "full", spaced=True)
    items = [r.name] + numbers(r, landline_first=True) + [f"{region} {r.street} "]
    if r.postcode:
        items.append(rng.choice((f"（{r.postcode}）", r.postcode)))
    return rng.choice(("收货地址：", "收货地址:", "", "收货地址：")) + "，".join(items)


def shop_jd(g, r):
    rng = g.rng
    r.company = ""
    lines = [f"订单号：{order_number(rng)}", f"下单时间：{order_time(rng)}",
             lbl(rng, rng.choice(("收货人", "客户姓名", "收件人", "姓名")), ("：",)) + r.name]
    nums = numbers(r)
    lines.append(lbl(rng, rng.choice(("联系方式", "手机号码", "收货电话")), ("：",)) + " ".join(nums))
    lines.append("收货地址：" + r.region() + r.street)
    if r.postcode:
        lines.append("邮编：" + r.postcode)
    if rng.random() < 0.5:
        lines.append(f"商品：{rng.choice(GOODS)} ×{rng.randint(1, 5)}")
    if rng.random() < 0.5:
        lines.append(rng.choice(("买家备注：", "备注：")) + rng.choice(REMARKS))
    return "\n".join(lines)


def shop_pdd(g, r):
    rng = g.rng
    r.company = ""
    if rng.random() < 0.5:
        cells = [order_number(rng), rng.choice(GOODS), str(rng.randint(1, 4)), r.name] + numbers(r)
        cells.append(r.region(spaced=False) + r.street)
        if r.postcode:
            cells.append(r.postcode)
        cells.append(order_time(rng))
        return "\t".join(cells)
    parts = [f"收件人：{r.name}", "手机号码：" + " ".join(numbers(r)), "详细地址：" + r.region() + r.street]
    if r.postcode:
        parts.append("邮编：" + r.postcode)
    return rng.choice(("，", "，", ",")).join(parts)


def shop_douyin(g, r):
    rng = g.rng
    r.company = ""
    parts = [f"收货人：{r.name}", "手机号：" + " ".join(numbers(r)), "收货地址：" + r.region(spaced=True) + " " + r.street]
    if r.postcode:
        parts.append("邮编：" + r.postcode)
    parts.append(f"订单编号：{order_number(rng)}")
    if rng.random() < 0.5:
        parts.append(f"数量：{rng.randint(1, 9)}")
    return " | ".join(parts)


def shop_xianyu(g, r):
    rng = g.rng
    r.company = ""
    parts = [f"买家：{r.name}", "电话号码：" + " ".join(numbers(r)),
             rng.choice(("配送地址：", "收货地址：")) + r.region() + r.street]
    if r.postcode:
        parts.append(f"（{r.postcode}）")
    parts.append("买家留言：" + rng.choice(REMARKS))
    return "；".join(parts)


def shop_wechat(g, r):
    rng = g.rng
    r.company = ""
    lines = [f"订单编号 {order_number(rng)}", f"收货人 {r.name}", "联系电话 " + " ".join(numbers(r)),
             rng.choice(("收货地址 ", "地址 ")) + r.region(spaced=True) + " " + r.street]
    if r.postcode:
        lines.append("邮政编码 " + r.postcode)
    lines.append(f"商品 {rng.choice(GOODS)} x{rng.randint(1, 3)}")
    if rng.random() < 0.4:
        lines.append("付款时间 " + order_time(rng))
    return "\n".join(lines)


def shop_youzan(g, r):
    rng = g.rng
    r.company = ""
    parts = [f"收货人：{r.name}", "收货电话：" + " ".join(numbers(r)), "收货地址：" + r.region() + r.street]
    if r.postcode:
        parts.append("邮编：" + r.postcode)
    return rng.choice((", ", "，")).join(parts)


def shop_1688(g, r):
    rng = g.rng
    if not r.company:
        r.company = make_company(rng, r.reg)
    items = [r.company, r.name] + numbers(r) + [r.region() + r.street]
    if r.postcode:
        items.append(r.postcode)
    if rng.random() < 0.5:
        return "收货信息：" + "，".join(items)
    lines = [f"收货单位：{r.company}", f"联系人：{r.name}", "联系方式：" + "，".join(numbers(r)),
             "收货地址：" + r.region() + r.street]
    if r.reg.kind == "county" and rng.random() < 0.4:
        lines.insert(3, "传真：" + fax_number(rng, r))
    if r.postcode:
        lines.append("邮编：" + r.postcode)
    return "\n".join(lines)


SHOP = [shop_taobao, shop_jd, shop_pdd, shop_douyin, shop_xianyu, shop_wechat, shop_youzan, shop_1688]


# ---------------------------------------------------------------- labelled forms

def county_label(rng, town):
    if town.endswith("县"):
        return rng.choice(("区县", "县区", "县"))
    if town.endswith("区"):
        return rng.choice(("区县", "县区", "区"))
    return rng.choice(("区县", "县区", "县市"))


def street_town_label(rng, town):
    if town.endswith("街道"):
        return rng.choice(("街道", "乡镇", "镇区"))
    return rng.choice(("镇", "乡镇", "镇区"))


def strip_county_town(r):
    """The street without the 镇/街道 the receiver put in front of it."""
    t = r.reg.county_town
    return r.street[len(t):] if t and r.street.startswith(t) else r.street


def region_items(rng, r):
    reg = r.reg
    modes = ["split", "area", "no_town_label", "oneline"]
    if reg.kind == "county":
        modes += ["area_street", "county_then_zhen", "area_street"]
    if reg.kind in ("hk", "mo", "tw"):
        modes = ["split", "area", "oneline"]
    mode = rng.choice(modes)
    detail = rng.choice(("详细地址", "详细地址", "地址", "街道地址"))
    prov_text = reg.prov_full if rng.random() < 0.7 else province_short(reg.pcode, reg.prov_full)
    if mode == "split":
        items = [(rng.choice(("省份", "省", "所在省")), prov_text),
                 (rng.choice(("城市", "市", "所在城市")), reg.city)]
        if reg.kind == "street_town":
            items.append((street_town_label(rng, reg.town), reg.town))
        elif reg.kind in ("hk", "mo", "tw"):
            items.append((rng.choice(("区", "地区", "区县")), reg.town))
        else:
            items.append((county_label(rng, reg.town), reg.town))
        return items + [(detail, r.street)]
    if mode == "area":
        return [(rng.choice(("所在地区", "省市区", "地区")), r.region(spaced=rng.random() < 0.6)),
                (detail, r.street)]
    if mode == "no_town_label":
        return [(rng.choice(("省份", "省")), prov_text), (rng.choice(("城市", "市")), reg.city),
                (rng.choice(("详细地址", "地址")), reg.town + r.street)]
    if mode == "oneline":
        return [(rng.choice(("地址", "收货地址", "详细地址")), r.region() + r.street)]
    if mode == "area_street":
        rest = strip_county_town(r)
        office = rng.choice([t for t in COUNTY_TOWNS if t.endswith("街道")])
        reg.county_town = office
        r.street = office + rest
        r.address = office + rest    # the two joined
        return [("所在地区", r.region(spaced=rng.random() < 0.6, prefer="full") + " " + office),
                ("详细地址", rest)]
    # county_then_zhen: the county label, then a street line that starts with its 镇
    if not reg.county_town or not reg.county_town.endswith("镇"):
        rest = strip_county_town(r)
        reg.county_town = rng.choice([t for t in COUNTY_TOWNS if t.endswith("镇")])
        r.street = r.address = reg.county_town + rest
    return [(rng.choice(("省份", "省")), prov_text), (rng.choice(("城市", "市")), reg.city),
            (county_label(rng, reg.town), reg.town), (detail, r.street)]


def labelled_form(g, r):
    rng = g.rng
    sep = rng.choice(("：", "：", ":", " : ", " "))
    items = []
    if r.company:
        items.append((rng.choice(("公司", "单位", "公司名称", "单位名称", "收件单位")), r.company))
    items.append((rng.choice(("姓名", "收件人", "收货人", "联系人")), r.name))
    second_mobile = r.phone and r.mobile and len(r.phone[1]) == 11 and r.phone[1].isdigit()
    if r.mobile:
        items.append((rng.choice(("手机", "手机号", "手机号码", "移动电话")), r.mobile[0]))
    if r.phone:
        items.append((rng.choice(("备用手机", "其他电话", "电话")) if second_mobile
                      else rng.choice(("电话", "联系电话", "固定电话", "座机")), r.phone[0]))
    if rng.random() < 0.07 and r.reg.kind not in ("hk", "mo", "tw"):
        items.append(("传真", fax_number(rng, r)))
    if rng.random() < 0.2 and r.reg.kind not in ("hk", "mo", "tw"):
        r.country = True
        items.append(("国家", "中国"))
    items += region_items(rng, r)
    if r.postcode:
        items.append((rng.choice(("邮编", "邮政编码")), r.postcode))
    if rng.random() < 0.12:
        items.append(("备注", rng.choice(REMARKS)))
    cells = [f"{k}{sep}{v}" for k, v in items]
    if sep == " " or rng.random() < 0.6:
        return "\n".join(cells)
    # several items on a line
    lines, i = [], 0
    while i < len(cells):
        n = rng.choice((1, 2, 2, 3))
        lines.append(rng.choice(("  ", " ", "　")).join(cells[i:i + n]))
        i += n
    return "\n".join(lines)


LABELLED = [labelled_form]


# ---------------------------------------------------------------- auction-site lines

def blanks(rng):
    return " " * rng.choice((1, 1, 2, 3, 4))


def auction_glued(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    if r.mobile:
        r.mobile = (r.mobile[1], r.mobile[1])      # glued digits only read as typed plain
        text = f"{r.name}{r.mobile[0]}{r.region(need_province=True, spaced=False)}{r.street}"
        if r.phone:
            text += " " + r.phone[0]
        return text
    return f"{r.name}{r.phone[0]} {r.region(spaced=False)}{r.street}"


def auction_blanks(g, r):
    rng = g.rng
    r.company = ""
    parts = [r.name] + numbers(r) + [r.region(), r.street]
    if r.postcode:
        parts.append(r.postcode)
    return blanks(rng).join(parts) if rng.random() < 0.5 else "".join(p + blanks(rng) for p in parts).rstrip()


def auction_slash(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    nums = numbers(r, landline_first=rng.random() < 0.5)
    joined = rng.choice(("/", " / ", "/")).join(nums)
    return f"{joined} {r.name} {r.region()}{r.street}"


def auction_region_first(g, r):
    rng = g.rng
    r.company = ""
    text = f"{r.region()}{r.street}{blanks(rng)}{r.name}{blanks(rng)}" + " ".join(numbers(r))
    if r.postcode:
        text += " " + r.postcode
    return text


def auction_name_glued_before_province(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    return " ".join(numbers(r)) + " " + r.name + r.region(need_province=True, spaced=False) + r.street


def auction_paipai(g, r):
    rng = g.rng
    r.company = ""
    if not r.postcode and r.reg.kind not in ("hk", "mo", "tw"):
        r.postcode = make_postcode(rng, r.reg)
    post = f"({r.postcode})" if r.postcode else ""
    return f"{r.name} {r.region(spaced=True)} {r.street}{post} " + " ".join(numbers(r))


def auction_commas(g, r):
    rng = g.rng
    r.company = ""
    parts = [r.name] + numbers(r) + [r.region() + r.street]
    if r.postcode:
        parts.append(r.postcode)
    return rng.choice(("，", ",", "、")).join(parts)


def auction_local8(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    if local8_at_end(rng, r):
        return f"{r.name} {r.mobile[0]} {r.region()}{r.street} {r.phone[0]}"
    return f"{r.name}{blanks(rng)}{r.region()}{r.street}{blanks(rng)}" + " ".join(numbers(r))


def auction_company(g, r):
    rng = g.rng
    if not r.company:
        r.company = make_company(rng, r.reg)
    text = f"{r.company} {r.name} " + " ".join(numbers(r)) + f" {r.region()}{r.street}"
    return text + (f" {r.postcode}" if r.postcode else "")


AUCTION = [auction_glued, auction_blanks, auction_slash, auction_region_first,
           auction_name_glued_before_province, auction_paipai, auction_commas, auction_local8,
           auction_company]


# ---------------------------------------------------------------- chat messages

def chat_region(g, r):
    rng = g.rng
    if r.reg.city in COLLOQUIAL_PREFECTURES and rng.random() < 0.75:
        return r.region(prefer=rng.choice(("colloquial", "colloquial_prov")), spaced=False)
    return r.region(spaced=rng.random() < 0.15)


def phone_words(rng, r):
    return rng.choice(("电话", "电话", "手机", "联系电话", "电话是")) + " / ".join(numbers(r))


def chat_please_send(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    return (f"{rng.choice(('亲，', '亲，', '你好，', ''))}麻烦寄到{chat_region(g, r)}{r.street}，"
            f"收件人是{r.name}，{phone_words(rng, r)}，{rng.choice(('谢谢！', '谢谢', '谢谢啦'))}{rng.choice(EMOJI + [''])}")


def chat_carrier(g, r):
    rng = g.rng
    r.company = ""
    lines = [f"{rng.choice(('你好', '老板', '亲'))}，发{rng.choice(CARRIERS)}{rng.choice(('哈', '哦', '', '～'))}",
             f"{r.name} " + " ".join(numbers(r)),
             chat_region(g, r) + r.street + (f" {r.postcode}" if r.postcode else "")]
    if rng.random() < 0.6:
        lines.append("谢谢" + rng.choice(EMOJI))
    return "\n".join(lines)


def chat_receiver_in_brackets(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    sep = rng.choice(("", " "))
    return f"地址：{chat_region(g, r)}{r.street}{sep}（{r.name} 收）" + " ".join(numbers(r))


def chat_name_shou(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    if rng.random() < 0.5:
        return f"{chat_region(g, r)}{r.street}\n{r.name}收\n" + " ".join(numbers(r))
    return f"{chat_region(g, r)}{r.street} {r.name}收 " + " ".join(numbers(r))


def chat_company_after_address(g, r):
    rng = g.rng
    r.postcode = ""
    if not r.company:
        r.company = make_company(rng, r.reg)
    return f"寄：{chat_region(g, r)}{r.street} {r.company} {r.name} " + " ".join(numbers(r))


def chat_break_in_middle(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    region = chat_region(g, r)
    return (f"{rng.choice(('老板，', '', '亲，'))}地址发你了：{region}\n{r.street}，{r.name}，"
            f"{phone_words(rng, r)}{rng.choice(('，微信同号', '', ''))}")


def chat_qq(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    qq = str(rng.randint(100000, 999999)) if rng.random() < 0.35 else str(rng.randint(10000000, 2999999999))
    contact = rng.choice((f"QQ：{qq}", f"QQ{qq}", f"微信：wx_{qq[:4]}{rng.choice('abcxyz')}"))
    return f"{r.name}，" + "，".join(numbers(r)) + f"，{contact}，{chat_region(g, r)}{r.street}，到了打电话"


def chat_labelled_loose(g, r):
    rng = g.rng
    r.company = ""
    lines = [f"{rng.choice(EMOJI)}收件信息", f"收件人：{r.name}",
             "电话：" + rng.choice((" / ", "，", " ")).join(numbers(r)),
             f"地址：{chat_region(g, r)}{r.street}" + (f"，邮编{r.postcode}" if r.postcode else ""),
             rng.choice(("谢谢亲", "辛苦了", "麻烦尽快发货，谢谢"))]
    return "\n".join(lines)


def chat_local8(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    if local8_at_end(rng, r):
        return (f"在吗？帮我寄到{chat_region(g, r)}{r.street}\n{r.name} {r.mobile[0]}\n"
                f"白天打座机 {r.phone[0]}")
    return f"在吗？帮我寄到{chat_region(g, r)}{r.street}，{r.name}，" + "，".join(numbers(r))


def chat_overseas(g, r):
    rng = g.rng
    r.company = r.postcode = ""
    return (f"{rng.choice(('你好', '亲', '哈喽'))}，寄到{chat_region(g, r)}{r.street}，"
            f"{r.name}收，{rng.choice(('电话', '联系电话', '手机'))}" + " / ".join(numbers(r)) +
            rng.choice(("，谢谢！", "。谢谢", "，麻烦发顺丰")))


CHAT = [chat_please_send, chat_carrier, chat_receiver_in_brackets, chat_name_shou,
        chat_company_after_address, chat_break_in_middle, chat_qq, chat_labelled_loose,
        chat_local8, chat_overseas]


# ---------------------------------------------------------------- checks and main

KINDS = [("shop", SHOP, 0.06), ("labelled", LABELLED, 0.08), ("auction", AUCTION, 0.04),
         ("chat", CHAT, 0.2)]
TRAD_CATEGORIES = ["hk", "mo", "tw", "gd", "gd", "gd_town"]
TEMPLATE_CATEGORIES = {chat_overseas: ["hk", "mo", "tw", "hk"],
                       chat_please_send: ["colloquial", None, None],
                       chat_carrier: ["colloquial", None, None, None]}


def digits(s):
    return "".join(ch for ch in s if ch.isdigit())


def check_regions(div, e):
    prov_full = div.province_of_expect(e["province"])
    if prov_full is None:
        return "province not in the division table"
    pcode = next(c for c in div.provinces if div.names[c] == prov_full)
    if pcode in MUNICIPALITIES:
        if e["city"] != prov_full:
            return "municipality city"
        towns = [div.names[c] for c in div.counties if c.startswith(pcode)]
        return None if e["town"] in towns else "town not in the municipality"
    prefs = [c for c in div.prefectures if c.startswith(pcode) and div.names[c] == e["city"]]
    direct = [c for c in div.counties if c.startswith(pcode) and c[:4] not in div.names
              and div.names[c] == e["city"]]
    if not prefs and not direct:
        return "city not in the province"
    if e["city"] in STREET_TOWNS:
        return None if e["town"] in STREET_TOWNS[e["city"]] else "town of a city without counties"
    towns = [div.names[c] for c in div.counties if c.startswith(prefs[0]) and c != prefs[0]]
    return None if e["town"] in towns else "town not in the city"


def address_in_text(address, text):
    if address in text:
        return True
    return any(address[:i] in text and address[i:] in text for i in range(2, len(address) - 1))


def check(div, text, e):
    if set(e) != set(FIELDS):
        return "fields"
    problem = check_regions(div, e)
    if problem:
        return problem
    if text.count(e["name"]) != 1 or not e["name"]:
        return "name not once in the text"
    if e["name"] in PLACE_WORDS:
        return "name is a place"
    if e["company"] and text.count(e["company"]) != 1:
        return "company not once in the text"
    if e["company"] and e["name"] in e["company"]:
        return "name inside the company"
    if not address_in_text(e["address"], text):
        return "address not in the text"
    for key in ("phone", "mobile"):
        if e[key] and digits(e[key]) not in digits(text):
            return key + " digits not in the text"
    if e["mobile"] and not re.fullmatch(r"1[3-9]\d{9}", e["mobile"]):
        return "mobile form"
    if e["postcode"] and not re.fullmatch(r"\d{6}", e["postcode"]) or e["postcode"] not in text:
        return "postcode"
    if e["country"] and "国家" not in text and "國家" not in text:
        return "country"
    if not e["phone"] and not e["mobile"]:
        return "no number"
    return None


PLACE_WORDS = set()


class Generator:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.div = Divisions(DIVISIONS)
        PLACE_WORDS.update(self.div.place_words())
        self.regions = RegionPicker(self.div, self.rng)


def build(gen, kind, templates, trad_share, index):
    rng = gen.rng
    template = templates[index % len(templates)]
    trad = rng.random() < trad_share
    if trad:
        category = rng.choice(TRAD_CATEGORIES)
    else:
        category = rng.choice(TEMPLATE_CATEGORIES.get(template, [None]))
    r = Receiver(gen, category, trad)
    text = template(gen, r)
    if trad:
        text = to_trad(text)
    return text, r.expect()


def generate(seed=29029):
    gen = Generator(seed)
    records, seen, rejected = [], set(), {}
    for kind, templates, trad_share in KINDS:
        made = 0
        while made < PER_KIND:
            text, e = build(gen, kind, templates, trad_share, made)
            problem = "duplicate" if text in seen else check(gen.div, text, e)
            if problem:
                rejected[problem] = rejected.get(problem, 0) + 1
                continue
            seen.add(text)
            records.append({"text": text, "kind": kind, "expect": e})
            made += 1
    return records, rejected


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=DEFAULT_OUT)
    args = ap.parse_args()
    records, rejected = generate()
    with open(args.out, "w", encoding="utf-8") as f:
        for rec in records:
            f.write(json.dumps(rec, ensure_ascii=False) + "\n")
    counts = {}
    for rec in records:
        counts[rec["kind"]] = counts.get(rec["kind"], 0) + 1
    print(f"{len(records)} texts to {os.path.relpath(args.out, ROOT)}: "
          + ", ".join(f"{k} {n}" for k, n in counts.items()), file=sys.stderr)
    if rejected:
        print("drafts turned away: " + ", ".join(f"{k} {n}" for k, n in sorted(rejected.items())),
              file=sys.stderr)


if __name__ == "__main__":
    main()
