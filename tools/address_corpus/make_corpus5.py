#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_tuning4.jsonl: 400 free chat messages that
buyers send to a seller or a friend (WeChat, QQ, Taobao chat), each with the fields
a clerk expects the receiver parser to fill.

Standard library only; the seed is fixed, so running it again gives the same file.
Every row is checked before it is written: regions exist in divisions.txt, name,
company and street occur in the text, the digits of every number occur in it, no
text occurs twice.
"""
import json
import random
import re
import sys
from collections import Counter
from pathlib import Path

SEED = 5150
COUNT = 400
ROOT = Path(__file__).resolve().parents[2]
DIVISIONS = ROOT / "resources/regions/divisions.txt"
OUTPUT = ROOT / "tests/batch/data/address_corpus_tuning4.jsonl"
FIELDS = ("company", "name", "phone", "mobile", "country",
          "province", "city", "town", "address", "postcode")

MUNICIPALITIES = {"11": "北京", "12": "天津", "31": "上海", "50": "重庆"}
REGION_SHORT = {"15": "内蒙古", "45": "广西", "54": "西藏", "64": "宁夏", "65": "新疆",
                "81": "香港", "82": "澳门"}
SPECIAL_PROVINCES = {"71", "81", "82"}

# Colloquial short forms of autonomous prefectures (海南州, 巴州, 博州 left out: they
# read as something else to many people).
PREFECTURE_SHORT = {
    "延边朝鲜族自治州": "延边州", "恩施土家族苗族自治州": "恩施州",
    "湘西土家族苗族自治州": "湘西州", "阿坝藏族羌族自治州": "阿坝州",
    "甘孜藏族自治州": "甘孜州", "凉山彝族自治州": "凉山州",
    "黔西南布依族苗族自治州": "黔西南州", "黔东南苗族侗族自治州": "黔东南州",
    "黔南布依族苗族自治州": "黔南州", "楚雄彝族自治州": "楚雄州",
    "红河哈尼族彝族自治州": "红河州", "文山壮族苗族自治州": "文山州",
    "西双版纳傣族自治州": "西双版纳州", "大理白族自治州": "大理州",
    "德宏傣族景颇族自治州": "德宏州", "临夏回族自治州": "临夏州",
    "甘南藏族自治州": "甘南州", "玉树藏族自治州": "玉树州",
    "海西蒙古族藏族自治州": "海西州", "昌吉回族自治州": "昌吉州",
    "伊犁哈萨克自治州": "伊犁州",
}

# Cities without counties and cities under the province: the 镇/街道 after them is the town.
TOWNS_OF_CITY = {
    "东莞市": ["长安镇", "虎门镇", "塘厦镇", "常平镇", "樟木头镇", "南城街道", "东城街道", "莞城街道", "寮步镇", "大朗镇"],
    "中山市": ["小榄镇", "古镇镇", "三乡镇", "坦洲镇", "石岐街道", "南头镇", "黄圃镇"],
    "儋州市": ["那大镇", "白马井镇", "和庆镇", "中和镇", "雅星镇"],
    "嘉峪关市": ["新城镇", "峪泉镇", "文殊镇", "胜利街道", "五一街道"],
    "仙桃市": ["干河街道", "龙华山街道", "沙嘴街道", "彭场镇", "毛嘴镇", "郑场镇", "张沟镇"],
    "天门市": ["竟陵街道", "杨林街道", "岳口镇", "皂市镇", "多宝镇", "渔薪镇"],
    "潜江市": ["园林街道", "杨市街道", "周矶街道", "熊口镇", "王场镇", "高石碑镇"],
    "济源市": ["沁园街道", "济水街道", "北海街道", "天坛街道", "克井镇", "五龙口镇", "轵城镇"],
    "琼海市": ["嘉积镇", "博鳌镇", "万泉镇", "长坡镇", "潭门镇"],
}

POSTCODE_PREFIX = {
    "11": "10", "12": "30", "13": "05", "14": "03", "15": "01", "21": "11", "22": "13",
    "23": "15", "31": "20", "32": "21", "33": "31", "34": "23", "35": "35", "36": "33",
    "37": "25", "41": "45", "42": "43", "43": "41", "44": "51", "45": "53", "46": "57",
    "50": "40", "51": "61", "52": "55", "53": "65", "54": "85", "61": "71", "62": "73",
    "63": "81", "64": "75", "65": "83",
}

SURNAMES = list("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万覃武钱戴严莫孔向汤")
COMPOUND_SURNAMES = ["司马", "欧阳", "诸葛", "端木", "上官", "皇甫", "东方", "慕容", "令狐", "公孙",
                     "夏侯", "尉迟", "宇文", "长孙", "轩辕", "南宫", "司徒", "澹台", "呼延", "钟离"]
GIVEN_CHARS = list("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红鹏辉建国志峰婷雪琳晨宇浩然子轩梓涵思远嘉怡欣悦俊凯文博雅晴诗雨佳琪梦瑶晓东海波春燕立新永胜德云凤")
MINORITY_NAMES = ["阿依古丽", "达瓦卓玛", "乌云其木格", "古丽娜尔", "热依拉", "扎西顿珠", "次仁央金",
                  "格桑梅朵", "其其格", "娜仁花", "阿力木", "巴图", "央宗", "布仁巴雅尔"]

ROAD_STEMS = ["人民", "解放", "建设", "文化", "新华", "和平", "长江", "黄河", "东风", "胜利", "光明",
              "幸福", "青年", "朝阳", "迎宾", "学府", "滨江", "湖滨", "环城", "工业", "科技", "金桥",
              "凤凰", "紫荆", "桂花", "梧桐", "银杏", "玉兰", "复兴", "团结", "振兴", "友谊", "向阳",
              "锦绣", "文昌", "丰收", "富民", "春晖", "育才", "龙腾"]
ROAD_KINDS = ["路", "路", "路", "街", "大道", "大街", "巷"]
DIRECTIONS = ["", "", "", "东", "西", "南", "北", "中"]
ESTATES = ["阳光花园", "锦江花园", "金色家园", "翠湖苑", "绿城桂园", "世纪新城", "碧水湾", "怡景园",
           "丽都小区", "华庭", "明珠苑", "和谐家园", "天鹅湾", "幸福里", "春江花月", "龙湖名苑"]
BUILDINGS = ["国贸大厦", "金融中心", "科技园", "创业大厦", "电子商务园", "时代广场", "万象城写字楼",
             "新世纪大厦", "鑫源大厦", "汇金中心"]
TOWN_STEMS = ["石桥", "新塘", "龙泉", "白沙", "青山", "长乐", "永兴", "柳河", "双桥", "马鞍",
              "黄土", "大港", "新安", "古城", "平安"]

COMPANY_STEMS = ["青禾", "恒远", "鼎盛", "华信", "天成", "聚丰", "瑞祥", "博雅", "启航", "润泽",
                 "蓝海", "云帆", "嘉禾", "宏图", "金穗", "森宇"]
COMPANY_KINDS = ["贸易有限公司", "科技有限公司", "机械有限公司", "电子商务有限公司", "文化传媒有限公司",
                 "食品有限公司", "服饰有限公司", "物流有限公司", "建材商行", "设计工作室"]
INSTITUTIONS = ["第一人民医院检验科", "中心医院放射科", "妇幼保健院儿科", "人民医院骨科",
                "实验中学教务处", "第二中学高三年级组", "师范大学图书馆", "职业技术学院后勤处",
                "理工大学计算机学院", "外国语学校办公室"]

HK_STREETS = ["弥敦道", "轩尼诗道", "皇后大道中", "德辅道中", "英皇道", "太子道西", "青山公路",
              "沙田正街", "观塘道", "彩虹道", "大埔公路", "荃湾大河道"]
HK_BUILDINGS = ["海港中心", "华润大厦", "新城市广场", "荣华大厦", "丰盛商业大厦", "宝华楼"]
MACAU_STREETS = ["新马路", "南湾大马路", "罗理基博士大马路", "提督马路", "高士德大马路", "孙逸仙大马路",
                 "布拉干萨街", "石排湾马路"]
TAIWAN_STREETS = ["忠孝东路四段", "中山北路二段", "民生东路三段", "信义路五段", "中正路", "文化路",
                  "建国北路一段", "复兴南路一段", "中华路二段", "民权西路"]
TAIWAN_CITIES = ["台北市", "新北市", "台中市", "台南市", "高雄市", "桃园市"]

GREETINGS = ["在吗", "老板在吗", "亲", "亲亲", "哈喽", "你好", "老板", "hello", "嗨", "老板你好", "您好"]
ENDINGS = ["谢谢", "谢谢老板", "辛苦了", "麻烦了", "感谢", "谢谢亲", "多谢", "好的谢谢"]
EMOJI = ["🙏", "😊", "👍", "🌹", "❤️", "😄", "✌️", "🤝", "😘"]
SHIPPING = ["发顺丰", "麻烦发顺丰", "发韵达", "发中通", "顺丰到付", "发圆通就行", "能发顺丰吗"]
REMARKS = ["周末不在家", "放门卫", "放门卫就行", "放快递柜", "到了打电话", "送货前打电话", "工作日送",
           "不要放驿站", "下午在家", "急用麻烦快点", "到了给我发短信"]
RELATIVES = ["我妈", "我爸", "我老婆", "我老公", "我姐", "我同事", "我朋友"]

AREA_CODES = ["010", "021", "022", "023", "020", "0755", "0571", "0574", "0512", "025", "027",
              "028", "029", "0731", "0351", "0371", "0531", "0532", "0591", "0592", "0898",
              "0871", "0851", "0931", "0991", "0471", "0951", "0891", "0577", "0760"]
MOBILE_HEADS = ["130", "131", "132", "133", "135", "136", "137", "138", "139", "150", "151", "152",
                "153", "155", "156", "157", "158", "159", "166", "173", "176", "177", "180", "181",
                "182", "183", "185", "186", "187", "188", "189", "191", "195", "198", "199"]

# Simplified → traditional for the characters these texts use. Characters whose
# traditional form depends on the word (后/里/周/系/台/干/范) are left alone.
_T_PAIRS = ("区區 号號 楼樓 层層 东東 门門 广廣 华華 兴興 龙龍 湾灣 园園 厦廈 单單 国國 业業 发發 "
            "长長 乐樂 丰豐 宁寧 汉漢 阳陽 庄莊 凤鳳 宝寶 实實 学學 医醫 电電 话話 详詳 细細 谢謝 "
            "烦煩 顺順 庆慶 苏蘇 县縣 镇鎮 乡鄉 马馬 环環 岛島 圣聖 尔爾 弥彌 诗詩 辅輔 头頭 场場 "
            "码碼 这這 个個 们們 吗嗎 么麼 还還 来來 时時 间間 边邊 点點 给給 请請 写寫 贵貴 云雲 "
            "桥橋 车車 机機 厂廠 钟鍾 锦錦 铁鐵 银銀 陈陳 张張 刘劉 黄黃 杨楊 赵趙 吴吳 郑鄭 孙孫 "
            "冯馮 邓鄧 许許 韩韓 叶葉 罗羅 卢盧 蒋蔣 韦韋 贺賀 龚龔 汤湯 严嚴 丽麗 伟偉 强強 军軍 "
            "杰傑 红紅 涛濤 鹏鵬 辉輝 玲玲 艳艷 刚剛 诚誠 晓曉 亲親 帮幫 馆館 办辦 处處 贸貿 务務 "
            "经經 营營 网網 络絡 团團 设設 计計 饰飾 师師 卫衛 运運 货貨 递遞 员員 纪紀 荣榮 达達 "
            "儿兒 妈媽 联聯 备備 万萬 书書 兰蘭 滨濱 汇匯 绿綠 轩軒 岭嶺 凯凱 恒恆 远遠 进進 会會 "
            "买買 优優 图圖 总總 传傳 钱錢 庙廟 观觀 爱愛 梦夢 欢歡 萨薩 让讓 驿驛 短短 信信 "
            "桂桂 丝絲 织織 鸿鴻 创創 务務 鑫鑫 润潤 帆帆 图圖 穗穗 宏宏 聚聚 鼎鼎 启啟 航航 "
            "检檢 验驗 科科 放放 射射 妇婦 幼幼 护護 儿兒 骨骨 验驗 实實 验驗 教教 级級 组組 范範 "
            "职職 术術 后後 勤勤 处處 计計 算算 语語 校校 办辦 室室 飞飛 颖穎 娟娟 静靜 红紅 "
            "义義 权權 复復 华華 建建 归歸 闭閉 认認 识識 该該 写寫 过過 邮郵 编編 节節 节節 "
            "吕呂 临臨 双雙 腾騰 内內 关關 冈岡 劝勸 坛壇 坜壢 坝壩 壮壯 宾賓 岗崗 峡峽 开開 栋棟 欧歐 济濟 玛瑪 结結 绥綏 肃肅 胜勝 蓝藍 贡貢 辽遼 顾顧 顿頓 风風 驻駐 鹤鶴 贾賈 邹鄒 柜櫃 栖棲 喽嘍 "
            "别別 体體 乌烏 辕轅 诸諸 离離 满滿 应應 讯訊 号號 韵韻 圆圓 达達 吧吧 呢呢 啊啊 哦哦 还還 寻尋 应應 调調")
TRAD = {}
for pair in _T_PAIRS.split():
    s, t = pair[0], pair[1]
    if s not in ("后", "范"):  # 皇后大道, the surname 范: keep
        TRAD[s] = t
TRAD_WORDS = {"台湾": "臺灣", "台北": "臺北", "台中": "臺中", "台南": "臺南", "皇后": "皇后",
              "后勤": "後勤", "联系": "聯繫", "周末": "週末", "这里": "這裡"}


def to_traditional(text):
    for s, t in TRAD_WORDS.items():
        text = text.replace(s, t)
    return "".join(TRAD.get(ch, ch) for ch in text)


# ---------------------------------------------------------------- divisions

class Divisions:
    def __init__(self, path):
        self.name = {}
        for line in path.read_text(encoding="utf-8").splitlines():
            if not line.strip():
                continue
            code, name = line.split("\t")
            self.name[code] = name
        self.provinces = {c: n for c, n in self.name.items() if len(c) == 2}
        self.cities = {c: n for c, n in self.name.items() if len(c) == 4}
        self.counties = {c: n for c, n in self.name.items() if len(c) == 6}
        self.county_count = Counter(self.counties.values())
        self.county_count_in = Counter((c[:2], n) for c, n in self.counties.items())
        self.city_count = Counter(self.cities.values())
        self.all_names = set(self.name.values())

    def province_field(self, pcode):
        if pcode in MUNICIPALITIES:
            return MUNICIPALITIES[pcode]
        if pcode in REGION_SHORT:
            return REGION_SHORT[pcode]
        return self.provinces[pcode]

    def province_short(self, pcode):
        if pcode in MUNICIPALITIES:
            return MUNICIPALITIES[pcode]
        if pcode in REGION_SHORT:
            return REGION_SHORT[pcode]
        return self.provinces[pcode].removesuffix("省")

    def ordinary_counties(self):
        rows = []
        for code, name in sorted(self.counties.items()):
            pcode, ccode = code[:2], code[:4]
            if pcode in MUNICIPALITIES or pcode in SPECIAL_PROVINCES or code[2:4] == "90":
                continue
            city = self.cities.get(ccode)
            if not city or name in ("市辖区", city) or name in TOWNS_OF_CITY:
                continue
            if name.startswith(city.removesuffix("市")) or re.search(r"(开发区|管理区|示范区)$", name):
                continue  # development zones read as a street, not as a county
            if not re.search(r"(市|州|盟|地区)$", city):
                continue
            rows.append(code)
        return rows

    def municipal_counties(self):
        return [c for c in sorted(self.counties) if c[:2] in MUNICIPALITIES
                and self.counties[c] != "市辖区"]

    def code_of_city(self, name):
        return next(c for c, n in self.cities.items() if n == name)

    def code_of_county(self, name, pcode=None):
        return next(c for c, n in sorted(self.counties.items())
                    if n == name and (pcode is None or c.startswith(pcode)))


# ---------------------------------------------------------------- pieces

class Maker:
    def __init__(self, rng, div):
        self.rng = rng
        self.div = div
        self.ordinary = div.ordinary_counties()
        self.municipal = div.municipal_counties()
        self.used_mobiles = set()
        self.province_shorts = {div.province_short(p) for p in div.provinces}

    def pick(self, seq):
        return self.rng.choice(seq)

    def chance(self, p):
        return self.rng.random() < p

    # -- people and numbers
    def person(self):
        r = self.rng.random()
        if r < 0.08:
            return self.pick(MINORITY_NAMES)
        if r < 0.25:
            return self.pick(COMPOUND_SURNAMES) + "".join(self.rng.sample(GIVEN_CHARS, self.rng.choice([1, 2])))
        given = self.rng.choice([1, 2, 2, 2])
        return self.pick(SURNAMES) + "".join(self.rng.sample(GIVEN_CHARS, given))

    def mobile(self):
        while True:
            m = self.pick(MOBILE_HEADS) + "".join(str(self.rng.randrange(10)) for _ in range(8))
            if m not in self.used_mobiles:
                self.used_mobiles.add(m)
                return m

    def digits(self, n, first="2345678"):
        return self.pick(first) + "".join(str(self.rng.randrange(10)) for _ in range(n - 1))

    def written_mobile(self, m):
        """How a buyer types a mobile: returns the typed text."""
        style = self.rng.random()
        if style < 0.45:
            return m
        forms = [f"{m[:3]} {m[3:7]} {m[7:]}", f"{m[:3]}-{m[3:7]}-{m[7:]}", f"+86 {m}", f"+86{m}",
                 f"(+86){m}", f"（+86）{m}", f"86-{m}", f"0086 {m}", f"+86 {m[:3]} {m[3:7]} {m[7:]}"]
        return self.pick(forms)

    def landline(self):
        """Returns (typed, expected) for a mainland landline."""
        area = self.pick(AREA_CODES)
        n = 8 if len(area) == 3 else self.pick([7, 8])
        local = self.digits(n)
        style = self.rng.randrange(7)
        if style == 0:
            return f"{area}-{local}", f"{area}-{local}"
        if style == 1:
            return f"{area} {local}", f"{area}-{local}"
        if style == 2:
            cut = n - 4
            return f"{area}-{local[:cut]} {local[cut:]}", f"{area}-{local}"
        if style == 3:
            return f"{area} {local[:n - 4]} {local[n - 4:]}", f"{area}-{local}"
        if style == 4:
            return f"86-{area}-{local}", f"{area}-{local}"
        if style == 5:
            return f"({area}){local}", f"({area}){local}"
        return f"{area}{local}", f"{area}{local}"

    # -- streets
    def road(self):
        return self.pick(ROAD_STEMS) + self.pick(DIRECTIONS) + self.pick(ROAD_KINDS)

    def street(self, town_prefix=""):
        no = self.rng.randrange(1, 999)
        base = f"{self.road()}{no}号"
        r = self.rng.random()
        if r < 0.3:
            tail = f"{self.pick(ESTATES)}{self.rng.randrange(1, 30)}幢{self.rng.randrange(1, 6)}单元{self.rng.randrange(1, 30)}0{self.rng.randrange(1, 5)}室"
        elif r < 0.5:
            tail = f"{self.pick(BUILDINGS)}{self.rng.randrange(2, 40)}楼"
        elif r < 0.62:
            base = f"{self.road()}{self.rng.randrange(10, 900)}弄"
            tail = f"{self.rng.randrange(1, 80)}号{self.rng.randrange(1, 20)}0{self.rng.randrange(1, 4)}室"
        elif r < 0.75:
            tail = f"{self.rng.randrange(1, 20)}栋{self.rng.randrange(1, 30)}0{self.rng.randrange(1, 8)}"
        else:
            tail = ""
        return town_prefix + base + tail

    def county_town_prefix(self):
        if self.chance(0.25):
            return self.pick(TOWN_STEMS) + self.pick(["镇", "镇", "街道"])
        return ""

    # -- regions: returns dict(parts=[written pieces], expect..., trad_ok)
    def region(self):
        r = self.rng.random()
        if r < 0.42:
            return self.ordinary_region()
        if r < 0.55:
            return self.municipal_region()
        if r < 0.63:
            return self.prefecture_short_region()
        if r < 0.74:
            return self.town_city_region()
        if r < 0.83:
            return self.hong_kong_region()
        if r < 0.89:
            return self.macau_region()
        return self.taiwan_region()

    def city_written(self, city):
        short = city.removesuffix("市")
        if (city.endswith("市") and len(short) >= 2 and short not in self.province_shorts
                and short not in self.div.all_names and self.chance(0.4)):
            return short
        return city

    def ordinary_region(self):
        div = self.div
        code = self.pick(self.ordinary)
        pcode, ccode = code[:2], code[:4]
        province, city, county = div.provinces[pcode], div.cities[ccode], div.counties[code]
        pshort = div.province_short(pcode)
        style = self.rng.random()
        county_unique_in_province = (div.county_count_in[(pcode, county)] == 1
                                     and county not in div.cities.values())
        city_unique = div.city_count[city] == 1 and city not in div.counties.values()
        if style < 0.35:
            parts = [province, city, county]
        elif style < 0.6:
            parts = [pshort, self.city_written(city) if city.endswith("市") else PREFECTURE_SHORT.get(city, city), county]
        elif style < 0.8 and city_unique:
            parts = [city, county]
        elif style < 0.9 and county_unique_in_province:
            parts = [self.pick([province, pshort]), county]
        else:
            parts = [province, city, county]
        return dict(parts=parts, province=div.province_field(pcode), city=city, town=county,
                    prefix=self.county_town_prefix(), pcode=pcode, trad_ok=True)

    def municipal_region(self):
        div = self.div
        code = self.pick(self.municipal)
        pcode = code[:2]
        short = MUNICIPALITIES[pcode]
        county = div.counties[code]
        parts = self.pick([[short + "市", county], [short, county], [short + "市", county]])
        return dict(parts=parts, province=short, city=short + "市", town=county,
                    prefix=self.county_town_prefix(), pcode=pcode, trad_ok=True)

    def prefecture_short_region(self):
        div = self.div
        full = self.pick(sorted(PREFECTURE_SHORT))
        ccode = div.code_of_city(full)
        pcode = ccode[:2]
        counties = [c for c in sorted(div.counties) if c.startswith(ccode)]
        code = self.pick(counties)
        county = div.counties[code]
        lead = self.pick(["", "", div.provinces[pcode], div.province_short(pcode)])
        parts = ([lead] if lead else []) + [PREFECTURE_SHORT[full], county]
        return dict(parts=parts, province=div.province_field(pcode), city=full, town=county,
                    prefix=self.county_town_prefix(), pcode=pcode, trad_ok=False)

    def town_city_region(self):
        div = self.div
        city = self.pick(sorted(TOWNS_OF_CITY))
        code = next(c for c, n in sorted(div.name.items()) if n == city and len(c) >= 4)
        pcode = code[:2]
        town = self.pick(TOWNS_OF_CITY[city])
        lead = self.pick(["", div.provinces[pcode], div.province_short(pcode)])
        city_w = self.pick([city, city.removesuffix("市")]) if lead else city
        parts = ([lead] if lead else []) + [city_w, town]
        return dict(parts=parts, province=div.province_field(pcode), city=city, town=town,
                    prefix="", pcode=pcode, trad_ok=True)

    def hong_kong_region(self):
        div = self.div
        ccode = self.pick(["8101", "8102", "8103"])
        code = self.pick([c for c in sorted(div.counties) if c.startswith(ccode)])
        city, district = div.cities[ccode], div.counties[code]
        lead = self.pick(["香港", "香港", "香港特别行政区", "中国香港"])
        parts = [lead, city, district] if self.chance(0.75) else [lead, district]
        street = f"{self.pick(HK_STREETS)}{self.rng.randrange(1, 400)}号{self.pick(HK_BUILDINGS)}{self.rng.randrange(2, 30)}楼{self.pick('ABCDEF')}室"
        return dict(parts=parts, province="香港", city=city, town=district, street=street,
                    pcode="81", trad_ok=True)

    def macau_region(self):
        div = self.div
        ccode = self.pick(["8201", "8201", "8202", "8203"])
        code = self.pick([c for c in sorted(div.counties) if c.startswith(ccode)])
        city, parish = div.cities[ccode], div.counties[code]
        lead = self.pick(["澳门", "澳门特别行政区", "中国澳门"])
        parts = [lead, city, parish]
        street = f"{self.pick(MACAU_STREETS)}{self.rng.randrange(1, 300)}号{self.pick(HK_BUILDINGS)}{self.rng.randrange(2, 25)}楼{self.pick('ABCDEFGH')}座"
        return dict(parts=parts, province="澳门", city=city, town=parish, street=street,
                    pcode="82", trad_ok=True)

    def taiwan_region(self):
        div = self.div
        city = self.pick(TAIWAN_CITIES)
        ccode = div.code_of_city(city)
        code = self.pick([c for c in sorted(div.counties) if c.startswith(ccode)])
        district = div.counties[code]
        lead = self.pick(["台湾", "台湾省", "", "中国台湾"])
        parts = ([lead] if lead else []) + [city, district]
        street = f"{self.pick(TAIWAN_STREETS)}{self.rng.randrange(1, 300)}号{self.rng.randrange(2, 20)}楼"
        if self.chance(0.3):
            street = f"{self.pick(TAIWAN_STREETS)}{self.rng.randrange(1, 200)}巷{self.rng.randrange(1, 40)}号"
        return dict(parts=parts, province="台湾省", city=city, town=district, street=street,
                    pcode="71", trad_ok=True)

    def postcode(self, pcode):
        if pcode not in POSTCODE_PREFIX:
            return ""
        return POSTCODE_PREFIX[pcode] + f"{self.rng.randrange(0, 100):02d}" + self.pick(["00", "00", "10", "20", "50"])

    # -- phones: returns (typed, mobile, phone, must_end_line)
    def phones(self, pcode):
        if pcode == "81" and self.chance(0.8):
            n = self.digits(8, "569")
            return self.pick([f"+852 {n[:4]} {n[4:]}", f"{n[:4]} {n[4:]}", f"(852){n}", f"+852{n}", n]), "", n, False
        if pcode == "82" and self.chance(0.8):
            n = "6" + self.digits(7, "23568")
            return self.pick([f"+853 {n[:4]} {n[4:]}", f"{n[:4]} {n[4:]}", f"(853){n}", n]), "", n, False
        if pcode == "71" and self.chance(0.8):
            if self.chance(0.6):
                n = "09" + self.digits(8, "0123456789")
                typed = self.pick([f"{n[:4]}-{n[4:7]}-{n[7:]}", n])
            else:
                area = self.pick(["02", "04", "07", "06"])
                local = self.digits(8 if area == "02" else 7)
                typed = f"{area}-{local[:len(local) - 4]}-{local[-4:]}"
            return typed, "", typed, False
        r = self.rng.random()
        m = self.mobile()
        if r < 0.55:
            return self.written_mobile(m), m, "", False
        if r < 0.68:
            m2 = self.mobile()
            sep = self.pick(["/", " / ", "，", "或", " 或者 ", "、", " 备用", "，备用号"])
            return f"{self.written_mobile(m)}{sep}{m2}", m, m2, False
        if r < 0.82:
            typed, expected = self.landline()
            if self.chance(0.5):
                return f"{typed}{self.pick([' / ', '，', ' 或 ', '/'])}{self.written_mobile(m)}", m, expected, False
            return f"{self.written_mobile(m)}{self.pick([' / ', '，', ' 座机'])}{typed}", m, expected, False
        if r < 0.91:
            typed, expected = self.landline()
            self.used_mobiles.discard(m)
            return typed, "", expected, False
        local = self.digits(8)
        if self.chance(0.5):
            return f"{self.written_mobile(m)}{self.pick(['，', ' / ', ' 座机'])}{local}", m, local, True
        self.used_mobiles.discard(m)
        return local, "", local, True

    def phone_block(self, typed):
        label = self.pick(["", "", "", "电话", "电话：", "电话是", "手机", "手机：", "手机号", "手机号是",
                           "tel:", "Tel ", "☎️", "📞", "📞 ", "联系电话", "电话号码是", "打这个"])
        return label + typed, label == ""

    def name_block(self, name):
        """Returns (text, plain): plain names may be glued to a phone or an address."""
        r = self.rng.random()
        if r < 0.3:
            return name, True
        forms = [f"我叫{name}", f"名字{name}", f"名字：{name}", f"名字是{name}", f"收件人是{name}",
                 f"收件人：{name}", f"收件人{name}", f"收货人是{name}", f"{name}收", f"{name} 收",
                 f"（{name} 收）", f"({name}收)", f"（{name}收）", f"交给{name}", f"请交给{name}",
                 f"寄给{self.pick(RELATIVES)}{name}", f"寄给{self.pick(RELATIVES)}，{name}",
                 f"{name}{self.pick(['先生', '女士'])}", f"{name} {self.pick(['先生', '女士'])}",
                 f"联系人{name}", f"联系人：{name}"]
        return self.pick(forms), False

    def company(self, reg):
        city = reg["city"]
        place = city.removesuffix("市") if city.endswith("市") and len(city) > 2 else ""
        if reg["pcode"] in ("81", "82", "71"):
            place = {"81": "香港", "82": "澳门", "71": ""}[reg["pcode"]]
        if self.chance(0.55):
            return place + self.pick(COMPANY_STEMS) + self.pick(COMPANY_KINDS)
        return (place or self.pick(COMPANY_STEMS)) + self.pick(INSTITUTIONS)

    def address_block(self, reg, street, lead_allowed=True):
        inner = self.pick(["", "", " "])
        region = inner.join(reg["parts"])
        join = self.pick(["", "", "", " ", "，", "\n"])
        if join in ("，", "\n") and self.chance(0.3):
            join += self.pick(["详细地址", "详细地址：", "具体是"])
        lead = self.pick(["地址：", "地址是", "寄到", "发到", "麻烦寄到", "收货地址：", "", "", "地址 ", "帮我寄到"]) if lead_allowed else ""
        tail = self.pick(["", "", "", "", "，就寄这", " 就寄这里", "，寄这个地址"])
        return lead + region + join + street + tail, lead == "" and tail == ""

    # -- one message
    def row(self):
        reg = self.region()
        special = reg["pcode"] in ("81", "82", "71")
        trad = reg["trad_ok"] and self.chance(0.45 if special else 0.1)
        street = reg.get("street") or self.street(reg["prefix"])
        name = self.person()
        typed_phone, mobile, phone, end_line = self.phones(reg["pcode"])
        expect = dict.fromkeys(FIELDS, "")
        expect.update(province=reg["province"], city=reg["city"], town=reg["town"],
                      mobile=mobile, phone=phone, name=name, address=street)
        company = self.company(reg) if self.chance(0.18) else ""
        expect["company"] = company
        postcode = self.postcode(reg["pcode"]) if self.chance(0.12) else ""
        expect["postcode"] = postcode

        extras = []
        if postcode:
            extras.append(self.pick([f"邮编{postcode}", f"邮编：{postcode}", f"邮政编码{postcode}"]))
        if self.chance(0.15):
            qq = self.digits(self.pick([6, 8, 9, 10]), "123456789")
            wx = self.pick(["lily_0521", "wx_chen88", "sunny2019", "xiaoyu_666", "amy-wang", "zhang_kk"])
            extras.append(self.pick([f"QQ：{qq}", f"qq {qq}", f"QQ号{qq}", f"微信：{wx}", f"vx {wx}",
                                     f"加我微信{wx}", f"微信号 {wx}", "微信同号"]))
        if self.chance(0.3):
            extras.append(self.pick(REMARKS))
        if self.chance(0.25):
            extras.append(self.pick(SHIPPING))
        if self.chance(0.03):
            extras.append("国家：中国")
            expect["country"] = "中国"
        greeting = self.pick(GREETINGS) + self.pick(["", "", "～", "！", self.pick(EMOJI)]) if self.chance(0.55) else ""
        ending = self.pick(ENDINGS) + self.pick(["", "", "！", "～", self.pick(EMOJI), "啦"]) if self.chance(0.5) else ""
        if not ending and self.chance(0.15):
            ending = self.pick(EMOJI) * self.pick([1, 2, 3])

        layout = self.rng.random()
        if company and layout < 0.5:
            text = self.company_layout(reg, street, name, typed_phone, company, end_line, greeting, ending, extras)
        elif layout < 0.3:
            text = self.glued_layout(reg, street, name, typed_phone, company, end_line, greeting, ending, extras)
        else:
            text = self.mixed_layout(reg, street, name, typed_phone, company, end_line, greeting, ending, extras,
                                     all_lines=layout > 0.7)
        if trad:
            text = to_traditional(text)
            for key in ("name", "company", "address"):
                expect[key] = to_traditional(expect[key])
        return {"text": text, "kind": "chat", "expect": expect}

    def gap(self):
        return self.pick(["，", "，", " ", "。", "、", "！", "～", "\n", "\n", "  ", ","])

    def finish(self, blocks, greeting, ending):
        """blocks: list of (text, must_end_line). Joins with chat punctuation."""
        out = ""
        if greeting:
            ends_in_mark = not greeting[-1].isalnum()
            out = greeting + self.pick([" ", "\n", ""] if ends_in_mark else ["，", " ", "\n", "。", "！"])
        for i, (text, eol) in enumerate(blocks):
            out += text
            if i + 1 < len(blocks) or ending:
                out += "\n" if eol else self.gap()
        if ending:
            out += ending
        return out

    def mixed_layout(self, reg, street, name, typed_phone, company, end_line, greeting, ending, extras, all_lines):
        addr, _ = self.address_block(reg, street)
        if company:
            addr += self.pick([" ", "，", "\n"]) + company
        nb, _ = self.name_block(name)
        pb, _ = self.phone_block(typed_phone)
        core = [(nb, False), (pb, end_line), (addr, False)]
        self.rng.shuffle(core)
        blocks = core + [(e, False) for e in extras]
        if extras and self.chance(0.4):
            self.rng.shuffle(blocks)
        if all_lines:
            blocks = [(t, True) for t, _ in blocks]
        return self.finish(blocks, greeting, ending)

    def company_layout(self, reg, street, name, typed_phone, company, end_line, greeting, ending, extras):
        addr, _ = self.address_block(reg, street, lead_allowed=False)
        sep = self.pick([" ", "，", " "])
        lead = self.pick(["寄：", "寄到：", "收货：", "寄", "地址："])
        pb, _ = self.phone_block(typed_phone)
        core = f"{lead}{addr}{sep}{company}{sep}{name}{sep}{pb}"
        blocks = [(core, end_line)] + [(e, False) for e in extras]
        return self.finish(blocks, greeting, ending)

    def glued_layout(self, reg, street, name, typed_phone, company, end_line, greeting, ending, extras):
        addr, addr_plain = self.address_block(reg, street)
        if not addr_plain:
            addr, addr_plain = self.address_block(reg, street, lead_allowed=False)
            if addr_plain is False:
                addr = addr.split("，就寄这")[0].split(" 就寄这里")[0].split("，寄这个地址")[0]
        unit_end = street[-1] in "号室座"
        glue_before_address = not addr.startswith("中国")
        order = self.pick(["NPA", "NAP", "PNA", "ANP", "PAN"])
        if order in ("ANP", "PAN") and not unit_end:
            order = "NPA"
        if end_line and order[-1] != "P":
            order = "NAP"
        parts = {"N": name, "P": typed_phone, "A": addr}
        text = ""
        for i, key in enumerate(order):
            text += parts[key]
            if i + 1 < len(order):
                nxt = order[i + 1]
                mobile_like = re.match(r"(\+86|86-|1\d{10})", typed_phone) and " " not in typed_phone
                if key == "A" and nxt == "P" and (not unit_end or not mobile_like):
                    text += self.pick([" ", "，"])
                elif nxt == "A" and not glue_before_address:
                    text += self.pick([" ", "，"])
                elif key == "P" and parts["P"][-1] == " ":
                    text += ""
                else:
                    text += self.pick(["", "", "", " ", "  "])
        if company:
            text += ("\n" if end_line else self.pick([" ", "，"])) + self.pick(["单位", "单位：", "公司："]) + company
        blocks = [(text, end_line)] + [(e, False) for e in extras]
        return self.finish(blocks, greeting, ending)


# ---------------------------------------------------------------- checks

def digits_in(text, number):
    squeezed = re.sub(r"[\s\-()（）+]", "", text)
    return re.sub(r"\D", "", number) in squeezed


def check(row, div, seen):
    text, e = row["text"], row["expect"]
    assert set(e) == set(FIELDS), e
    assert text not in seen, f"duplicate text: {text}"
    for key in ("name", "company", "address"):
        assert e[key] in text, f"{key} {e[key]!r} not in {text!r}"
    for key in ("phone", "mobile", "postcode"):
        assert not e[key] or digits_in(text, e[key]), f"{key} {e[key]!r} not in {text!r}"
    assert not e["mobile"] or re.fullmatch(r"1[3-9]\d{9}", e["mobile"]), e["mobile"]
    assert e["name"] and e["address"], row
    pcodes = [c for c in div.provinces if div.province_field(c) == e["province"]]
    assert len(pcodes) == 1, e["province"]
    pcode = pcodes[0]
    if pcode in MUNICIPALITIES:
        assert e["city"] == div.provinces[pcode], e["city"]
        assert any(c.startswith(pcode) and n == e["town"] for c, n in div.counties.items()), e["town"]
    elif e["city"] in TOWNS_OF_CITY:
        assert any(c.startswith(pcode) and n == e["city"] for c, n in div.name.items()), e["city"]
        assert e["town"] in TOWNS_OF_CITY[e["city"]], e["town"]
    else:
        ccode = next(c for c, n in div.cities.items() if n == e["city"] and c.startswith(pcode))
        assert any(c.startswith(ccode) and n == e["town"] for c, n in div.counties.items()), e["town"]
    if e["country"]:
        assert "国家：中国" in text or "國家：中國" in text


def main():
    div = Divisions(DIVISIONS)
    maker = Maker(random.Random(SEED), div)
    rows, seen = [], set()
    while len(rows) < COUNT:
        row = maker.row()
        if row["text"] in seen:
            continue
        check(row, div, seen)
        seen.add(row["text"])
        rows.append(row)
    OUTPUT.write_text("".join(json.dumps(r, ensure_ascii=False) + "\n" for r in rows),
                      encoding="utf-8")
    print(f"wrote {len(rows)} rows to {OUTPUT.relative_to(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
