#!/usr/bin/env python3
"""Writes tests/batch/data/address_corpus_heldout2.jsonl, a second held-out set of receiver texts.

    tools/address_corpus/make_corpus4.py [--out FILE]

Written apart from the parser and from the other corpus generators; standard library only,
fixed seed, so running it again gives the same file byte for byte. 300 texts, 75 of each
kind: shop (order exports as sellers copy them), labelled (forms and business cards),
auction (second-hand site one-liners) and chat (free messages, some in traditional
characters). The file is only ever scored, never used to tune the parser.

Every text is built from a receiver record (name, company, numbers, region, street,
postcode); the expected fields come from the record, the text from a writing habit.
Before writing, every row is checked: regions exist in resources/regions/divisions.txt,
name/company/street occur in the text, the digits of every number occur in it, no text
twice.
"""

import argparse
import json
import random
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DIVISIONS = ROOT / "resources" / "regions" / "divisions.txt"
OUT = ROOT / "tests" / "batch" / "data" / "address_corpus_heldout2.jsonl"
SEED = 4242
PER_KIND = 75
KINDS = ("shop", "labelled", "auction", "chat")
FIELDS = ("company", "name", "phone", "mobile", "country", "province", "city", "town", "address", "postcode")

# ---------------------------------------------------------------- divisions

def read_divisions():
    provinces, prefectures, counties = {}, {}, {}
    for line in DIVISIONS.read_text(encoding="utf-8").splitlines():
        if not line.strip():
            continue
        code, name = line.split("\t")
        {2: provinces, 4: prefectures, 6: counties}[len(code)][code] = name
    return provinces, prefectures, counties


PROVINCES, PREFECTURES, COUNTIES = read_divisions()
ALL_NAMES = set(PROVINCES.values()) | set(PREFECTURES.values()) | set(COUNTIES.values())
DIVISION_STEMS = {n[:-1] for n in ALL_NAMES if len(n) >= 3} | {n for n in ALL_NAMES}


def not_a_division(word):
    """A town or street office whose stem no division shares (城东 would be read as 城东区)."""
    stem = word[:-2] if word.endswith("街道") else word[:-1]
    return stem not in DIVISION_STEMS and stem[:2] not in {n[:2] for n in PROVINCES.values()}

# The province field: provinces keep 省; municipalities, autonomous regions and the two
# special administrative regions are written by their everyday short name.
SHORT_PROVINCE = {
    "北京市": "北京", "天津市": "天津", "上海市": "上海", "重庆市": "重庆",
    "内蒙古自治区": "内蒙古", "广西壮族自治区": "广西", "西藏自治区": "西藏",
    "宁夏回族自治区": "宁夏", "新疆维吾尔自治区": "新疆",
    "香港特别行政区": "香港", "澳门特别行政区": "澳门",
}
MUNICIPALITIES = ("11", "12", "31", "50")

# Colloquial short forms of autonomous prefectures as people write them.
PREFECTURE_SHORT = {
    "甘南藏族自治州": "甘南州", "湘西土家族苗族自治州": "湘西州", "黔东南苗族侗族自治州": "黔东南州",
    "凉山彝族自治州": "凉山州", "恩施土家族苗族自治州": "恩施州", "延边朝鲜族自治州": "延边州",
    "大理白族自治州": "大理州", "红河哈尼族彝族自治州": "红河州", "楚雄彝族自治州": "楚雄州",
    "黔南布依族苗族自治州": "黔南州", "阿坝藏族羌族自治州": "阿坝州", "临夏回族自治州": "临夏州",
    "伊犁哈萨克自治州": "伊犁州", "西双版纳傣族自治州": "西双版纳州", "文山壮族苗族自治州": "文山州",
}

# Prefecture cities without counties and cities under the province: towns and street offices.
NO_COUNTY_TOWNS = {
    "东莞市": ["长安镇", "虎门镇", "塘厦镇", "厚街镇", "常平镇", "樟木头镇", "大朗镇", "南城街道", "东城街道", "莞城街道"],
    "中山市": ["小榄镇", "古镇镇", "坦洲镇", "三乡镇", "沙溪镇", "石岐街道"],
    "儋州市": ["那大镇", "白马井镇", "中和镇", "木棠镇"],
    "嘉峪关市": ["新城镇", "峪泉镇", "文殊镇"],
    "仙桃市": ["沙嘴街道", "干河街道", "龙华山街道", "彭场镇", "郑场镇", "毛嘴镇"],
    "天门市": ["竟陵街道", "岳口镇", "皂市镇", "渔薪镇"],
    "潜江市": ["园林街道", "杨市街道", "周矶街道", "熊口镇", "王场镇"],
    "济源市": ["沁园街道", "济水街道", "玉泉街道", "梨林镇", "五龙口镇"],
    "琼海市": ["嘉积镇", "博鳌镇", "万泉镇", "潭门镇"],
}

# Street offices that end a 所在地区 line before 详细地址 (generic names found in many counties).
# Only names whose stem is no division's stem, so nobody reads them as a district.
STREET_OFFICES = [w for w in ["城南街道", "城东街道", "城北街道", "新华街道", "人民街道", "建设街道", "解放街道",
                              "中心街道", "北关街道", "南关街道", "东关街道", "西城街道", "花园街道"] if not_a_division(w)]
COUNTY_TOWNS = [w for w in ["城关镇", "石桥镇", "黄桥镇", "马桥镇", "花桥镇", "新塘镇", "高桥镇", "长岭镇", "大桥镇",
                            "白石镇"] if not_a_division(w)]

HK_STREETS = {
    ("香港岛", "中西区"): ["皇后大道中99号中环中心20楼", "德辅道中141号8楼", "干诺道中111号永安中心15楼"],
    ("香港岛", "湾仔区"): ["轩尼诗道300号5楼", "告士打道128号祥丰大厦12楼", "骆克道188号"],
    ("香港岛", "东区"): ["英皇道500号", "筲箕湾道88号3楼B室"],
    ("香港岛", "南区"): ["香港仔大道180号", "黄竹坑道38号"],
    ("九龙", "油尖旺区"): ["弥敦道188号", "广东道33号中港城5楼", "亚皆老街8号朗豪坊18楼"],
    ("九龙", "深水埗区"): ["长沙湾道303号", "青山道485号"],
    ("九龙", "九龙城区"): ["太子道西328号", "土瓜湾道78号"],
    ("九龙", "观塘区"): ["观塘道388号创纪之城12楼", "开源道55号"],
    ("九龙", "黄大仙区"): ["龙翔道136号", "彩虹道118号"],
    ("新界", "沙田区"): ["沙田正街18号新城市广场10楼", "火炭坳背湾街30号"],
    ("新界", "荃湾区"): ["沙咀道68号", "青山公路荃湾段398号"],
    ("新界", "屯门区"): ["屯门乡事会路2号", "海荣路22号"],
    ("新界", "元朗区"): ["青山公路元朗段49号", "教育路88号"],
    ("新界", "西贡区"): ["将军澳唐德街9号", "西贡大街18号"],
    ("新界", "葵青区"): ["葵涌道1001号", "青衣青敬路33号"],
}
MO_STREETS = {
    ("澳门半岛", "花地玛堂区"): ["黑沙环新街52号", "罗理基博士大马路88号"],
    ("澳门半岛", "大堂区"): ["南湾大马路517号", "新马路201号"],
    ("澳门半岛", "望德堂区"): ["荷兰园大马路68号"],
    ("澳门半岛", "圣安多尼堂区"): ["白鸽巢前地8号", "沙梨头海边街101号"],
    ("澳门半岛", "风顺堂区"): ["西湾湖景大马路15号"],
    ("氹仔岛", "嘉模堂区"): ["孙逸仙博士大马路399号", "布拉干萨街63号"],
    ("路环岛", "圣方济各堂区"): ["石排湾马路12号", "路环荔枝碗马路1号"],
}
TW_DISTRICTS = {
    "台北市": ["大安区", "信义区", "内湖区", "士林区", "中正区"],
    "新北市": ["板桥区", "新庄区", "中和区", "永和区"],
    "台中市": ["西屯区", "北屯区", "南屯区"],
    "高雄市": ["苓雅区", "左营区", "三民区", "凤山区"],
    "台南市": ["安平区", "永康区"],
}
TW_AREA = {"台北市": "02", "新北市": "02", "台中市": "04", "高雄市": "07", "台南市": "06"}

AREA_CODES = {
    "北京市": "010", "上海市": "021", "天津市": "022", "重庆市": "023", "广州市": "020", "深圳市": "0755",
    "东莞市": "0769", "中山市": "0760", "佛山市": "0757", "珠海市": "0756", "汕头市": "0754", "惠州市": "0752",
    "杭州市": "0571", "宁波市": "0574", "温州市": "0577", "绍兴市": "0575", "金华市": "0579", "嘉兴市": "0573",
    "台州市": "0576", "南京市": "025", "苏州市": "0512", "无锡市": "0510", "常州市": "0519", "南通市": "0513",
    "徐州市": "0516", "扬州市": "0514", "济南市": "0531", "青岛市": "0532", "烟台市": "0535", "潍坊市": "0536",
    "郑州市": "0371", "洛阳市": "0379", "成都市": "028", "绵阳市": "0816", "武汉市": "027", "宜昌市": "0717",
    "长沙市": "0731", "石家庄市": "0311", "保定市": "0312", "唐山市": "0315", "福州市": "0591", "厦门市": "0592",
    "泉州市": "0595", "合肥市": "0551", "芜湖市": "0553", "沈阳市": "024", "大连市": "0411", "西安市": "029",
    "南昌市": "0791", "南宁市": "0771", "桂林市": "0773", "昆明市": "0871", "贵阳市": "0851", "太原市": "0351",
    "哈尔滨市": "0451", "长春市": "0431", "呼和浩特市": "0471", "乌鲁木齐市": "0991", "兰州市": "0931",
    "海口市": "0898", "三亚市": "0898", "儋州市": "0898", "银川市": "0951", "西宁市": "0971", "拉萨市": "0891",
    "仙桃市": "0728", "天门市": "0728", "潜江市": "0728", "济源市": "0391", "琼海市": "0898", "嘉峪关市": "0937",
    "甘南藏族自治州": "0941", "湘西土家族苗族自治州": "0743", "黔东南苗族侗族自治州": "0855",
    "凉山彝族自治州": "0834", "恩施土家族苗族自治州": "0718", "延边朝鲜族自治州": "0433", "大理白族自治州": "0872",
}
POSTCODE_PREFIX = {
    "11": "10", "12": "30", "13": "05", "14": "03", "15": "01", "21": "11", "22": "13", "23": "15", "31": "20",
    "32": "21", "33": "31", "34": "23", "35": "35", "36": "33", "37": "25", "41": "45", "42": "43", "43": "41",
    "44": "51", "45": "53", "46": "57", "50": "40", "51": "61", "52": "55", "53": "65", "54": "85", "61": "71",
    "62": "73", "63": "81", "64": "75", "65": "83",
}
PROVINCE_WEIGHT = {
    "44": 10, "33": 8, "32": 8, "37": 6, "41": 5, "51": 5, "42": 5, "43": 4, "13": 4, "35": 5, "34": 4,
    "11": 4, "31": 5, "50": 3, "12": 2, "21": 3, "61": 3, "36": 3, "45": 3, "53": 3, "52": 2, "14": 2,
    "23": 2, "22": 2, "15": 2, "65": 2, "62": 2, "46": 1, "64": 1, "63": 1, "54": 1,
}
# County names that are everyday words or repeat across the country: never drawn.
COUNTY_AVOID = {"城区", "郊区", "东区", "西区", "南区", "北区", "市中区", "矿区", "新区", "中区"}

# ---------------------------------------------------------------- people and places

SURNAMES = ("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘蒋蔡余杜叶程"
            "苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方邹熊孟秦白邱侯江尹薛闫段雷龙黎史陶贺毛郝顾龚邵万覃武")
COMPOUND_SURNAMES = ["司马", "欧阳", "诸葛", "端木", "上官", "皇甫", "东方", "慕容", "令狐", "公孙",
                     "夏侯", "尉迟", "宇文", "长孙", "轩辕", "南宫", "司徒", "澹台", "呼延", "钟离"]
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超霞刚英华玉萍兰飞鹏浩宇欣怡婷雪琳晨博轩涵睿瑶佳俊斌辉峰亮凯鑫颖倩悦蕾薇慧琴蓉晴彤"
GIVEN2 = ["建军", "秀英", "志强", "丽娟", "晓东", "海燕", "俊杰", "子涵", "雨萱", "浩然", "梓轩", "欣怡", "思远", "佳怡",
          "文博", "一鸣", "诗琪", "嘉豪", "晓燕", "春梅", "国平", "玉兰", "德明", "红霞", "宏伟", "雪梅", "立新", "美玲",
          "建华", "婷婷", "亚楠", "明轩", "若曦", "志刚", "桂芳", "晨阳", "静怡", "天佑", "振宇", "慧敏"]
MINORITY_NAMES = ["阿依古丽", "达瓦卓玛", "乌云其木格", "古丽娜扎", "热依汗古丽", "扎西顿珠", "格桑卓玛",
                  "斯琴高娃", "巴图孟和", "吐尔逊", "其其格", "买买提江", "次仁央金", "阿卜杜拉"]
TRAD_NAMES = ["陳志明", "黃淑芬", "林美玲", "張偉倫", "劉嘉欣", "吳家豪", "鄭雅婷", "楊俊傑", "許文華", "謝佩珊",
              "歐陽國華", "司徒詠儀", "梁寶儀", "何嘉慧", "羅志偉"]

ROAD_STEMS = ["人民", "解放", "建设", "文化", "学府", "光明", "幸福", "新华", "和平", "胜利", "滨江", "迎宾", "长江",
              "青年", "工业", "体育", "复兴", "育才", "民主", "团结", "振兴", "友谊", "东风", "前进", "红旗", "兴业",
              "翠湖", "锦绣", "望江", "银杏", "丹桂", "明珠", "健康", "公园", "学院"]
ESTATES = ["阳光花园", "金色家园", "世纪花城", "翡翠湾", "锦绣华庭", "盛世名门", "香樟园", "金域蓝湾", "幸福里小区",
           "和谐家园", "紫荆苑", "丽景湾", "书香门第", "怡景花园", "绿洲小区", "桂花苑"]
TOWERS = ["国贸大厦", "金融中心", "世纪广场", "时代大厦", "创业大厦", "银座大厦", "财富中心", "科技大厦"]
VILLAGES = ["李家", "王庄", "柳树湾", "杨家", "石门坎", "大槐树", "河沿"]
COMPANY_WORDS = ["青禾", "恒信", "博远", "华通", "瑞丰", "鼎盛", "永兴", "卓越", "鸿运", "嘉禾", "睿智", "泰和"]
COMPANY_TRADES = ["贸易有限公司", "科技有限公司", "电子商务有限公司", "机械设备有限公司", "食品有限公司",
                  "文化传媒有限公司", "服饰有限公司", "物流有限公司", "商贸有限公司", "包装材料厂"]
INSTITUTIONS = ["第二中学", "实验小学", "师范学院", "职业技术学院", "中心医院", "图书馆"]
GOODS = ["连衣裙", "蓝牙耳机", "保温杯", "儿童绘本", "茶叶礼盒", "手机壳", "运动鞋", "收纳箱", "护手霜", "数据线"]
REMARKS = ["请尽快发货", "不要放快递柜，谢谢", "周末在家", "送货前联系", "帮忙包装结实一点", "发顺丰", "送礼用的不要放发票",
           "工作日白天送公司", "要黑色的"]
FAX_LABELS = ["传真", "传真号"]
MOBILE_PREFIXES = ["130", "131", "132", "133", "135", "136", "137", "138", "139", "150", "151", "152", "153", "155",
                   "156", "157", "158", "159", "166", "173", "176", "177", "180", "181", "182", "183", "185", "186",
                   "187", "188", "189", "191", "198", "199"]

# Simplified to traditional, for the characters the traditional texts use.
S2T = {}
S2T.update({"广": "廣", "台": "臺", "湾": "灣", "场": "場", "坊": "坊", "亚": "亞", "皆": "皆", "创": "創", "纪": "紀",
            "开": "開", "源": "源", "湖": "湖", "坝": "壩", "师": "師", "学": "學", "园": "園", "馆": "館",
            "干": "干", "诺": "諾", "兴": "興", "骆": "駱", "克": "克", "筲": "筲", "箕": "箕", "环": "環",
            "马": "馬", "罗": "羅", "基": "基", "博": "博", "圣": "聖", "多": "多", "尼": "尼", "鸽": "鴿",
            "巢": "巢", "梨": "梨", "头": "頭", "边": "邊", "风": "風", "顺": "順", "堂": "堂", "玛": "瑪",
            "孙": "孫", "逸": "逸", "拉": "拉", "萨": "薩", "荔": "荔", "枝": "枝", "碗": "碗", "们": "們",
            "栋": "棟", "层": "層", "室": "室", "厦": "廈", "厂": "廠", "证": "證", "户": "戶", "凤": "鳳",
            "庄": "莊", "苓": "苓", "营": "營", "宁": "寧", "内": "內", "义": "義", "复": "復", "东": "東",
            "忠": "忠", "孝": "孝", "权": "權", "级": "級", "贸": "貿", "易": "易", "司": "司", "限": "限",
            "电": "電", "子": "子", "商": "商", "备": "備", "设": "設", "实": "實", "验": "驗", "医": "醫",
            "图": "圖", "书": "書", "乐": "樂", "线": "線", "机": "機", "读": "讀", "试": "試", "转": "轉",
            "给": "給", "帮": "幫", "谢": "謝", "邮": "郵", "递": "遞", "运": "運", "费": "費", "帐": "帳",
            "葵": "葵", "涌": "涌", "钱": "錢", "铁": "鐵", "陆": "陸", "叶": "葉", "杨": "楊", "苏": "蘇",
            "赵": "趙", "韩": "韓", "冯": "馮", "邓": "鄧", "伦": "倫", "欣": "欣", "婷": "婷",
            "俊": "俊", "淑": "淑", "芬": "芬", "玲": "玲", "咏": "詠", "宝": "寶", "嘉": "嘉", "慧": "慧",
            "气": "氣", "现": "現", "达": "達", "话": "話", "阳": "陽", "长": "長", "们": "們", "买": "買",
            "卖": "賣", "价": "價", "该": "該", "尔": "爾", "会": "會", "恒": "恆", "远": "遠", "丰": "豐",
            "鼎": "鼎", "盛": "盛", "鸿": "鴻", "禾": "禾", "睿": "睿", "泰": "泰", "饰": "飾", "装": "裝",
            "材": "材", "料": "料", "贸易": "貿易", "传": "傳", "媒": "媒", "华": "華", "通": "通", "讯": "訊",
            "浔": "潯", "罗": "羅", "岭": "嶺", "湘": "湘", "滨": "濱", "关": "關", "车": "車", "站": "站",
            "岁": "歲", "让": "讓", "订": "訂", "说": "說", "记": "記", "认": "認", "识": "識", "写": "寫",
            "样": "樣", "从": "從", "应": "應", "对": "對", "点": "點", "几": "幾", "脑": "腦", "万": "萬",
            "与": "與", "业": "業", "东": "東", "丝": "絲", "两": "兩", "严": "嚴", "个": "個", "丰": "豐",
            "临": "臨", "为": "為", "举": "舉", "么": "麼", "义": "義", "乌": "烏", "乔": "喬", "习": "習",
            "书": "書", "买": "買", "乱": "亂", "争": "爭", "亏": "虧", "云": "雲", "亚": "亞",
            "产": "產", "亩": "畝", "亲": "親", "仅": "僅", "仑": "崙", "们": "們", "价": "價", "众": "眾",
            "优": "優", "伙": "夥", "体": "體", "侠": "俠", "侧": "側", "侨": "僑", "俭": "儉",
            "债": "債", "倾": "傾", "储": "儲", "儿": "兒", "兰": "蘭", "关": "關", "兴": "興", "兹": "茲",
            "养": "養", "兽": "獸", "内": "內", "冈": "岡", "册": "冊", "军": "軍", "农": "農", "冯": "馮",
            "决": "決", "况": "況", "冻": "凍", "净": "淨", "凉": "涼", "减": "減", "凑": "湊",
            "几": "幾", "凤": "鳳", "凭": "憑", "凯": "凱", "击": "擊", "划": "劃", "刘": "劉", "则": "則",
            "刚": "剛", "创": "創", "删": "刪", "别": "別", "剂": "劑", "剧": "劇", "办": "辦",
            "务": "務", "动": "動", "励": "勵", "劲": "勁", "劳": "勞", "势": "勢", "勋": "勳", "区": "區",
            "医": "醫", "华": "華", "协": "協", "单": "單", "卖": "賣", "卢": "盧", "卫": "衛", "却": "卻",
            "厂": "廠", "厅": "廳", "历": "歷", "压": "壓", "厕": "廁", "县": "縣", "参": "參", "双": "雙",
            "发": "發", "变": "變", "叙": "敘", "叠": "疊", "号": "號", "叹": "嘆", "向": "向",
            "吓": "嚇", "吕": "呂", "吗": "嗎", "听": "聽", "启": "啟", "吴": "吳", "员": "員", "响": "響",
            "哑": "啞", "唤": "喚", "园": "園", "围": "圍", "国": "國", "图": "圖", "圆": "圓", "圣": "聖",
            "场": "場", "坏": "壞", "块": "塊", "坚": "堅", "坛": "壇", "坝": "壩", "垦": "墾", "城": "城",
            "尘": "塵", "尝": "嘗", "岁": "歲", "岛": "島", "峡": "峽", "币": "幣", "师": "師", "帐": "帳",
            "带": "帶", "帮": "幫", "广": "廣", "庆": "慶", "库": "庫", "应": "應", "庙": "廟", "废": "廢",
            "开": "開", "异": "異", "弃": "棄", "张": "張", "弥": "彌", "弯": "彎", "录": "錄", "彻": "徹",
            "径": "徑", "忆": "憶", "忧": "憂", "怀": "懷", "态": "態", "总": "總", "恋": "戀", "恶": "惡",
            "悦": "悅", "惊": "驚", "惯": "慣", "愿": "願", "戏": "戲", "战": "戰", "户": "戶", "扑": "撲",
            "执": "執", "扩": "擴", "扫": "掃", "扬": "揚", "护": "護", "报": "報", "担": "擔", "拟": "擬",
            "拥": "擁", "择": "擇", "挂": "掛", "挡": "擋", "挤": "擠", "挥": "揮", "损": "損", "换": "換",
            "据": "據", "掷": "擲", "携": "攜", "摄": "攝", "摆": "擺", "撑": "撐", "敌": "敵", "数": "數",
            "斋": "齋", "断": "斷", "无": "無", "旧": "舊", "时": "時", "旷": "曠", "昼": "晝",
            "显": "顯", "晋": "晉", "晒": "曬", "晓": "曉", "暂": "暫", "术": "術", "机": "機", "杀": "殺",
            "杂": "雜", "权": "權", "条": "條", "来": "來", "杨": "楊", "杰": "傑", "极": "極", "构": "構",
            "枪": "槍", "柜": "櫃", "标": "標", "栋": "棟", "树": "樹", "样": "樣", "桥": "橋", "检": "檢",
            "楼": "樓", "欢": "歡", "欧": "歐", "毕": "畢", "气": "氣", "汇": "匯", "汉": "漢", "汤": "湯",
            "沟": "溝", "没": "沒", "沪": "滬", "泪": "淚", "泽": "澤", "洁": "潔", "浅": "淺", "测": "測",
            "济": "濟", "浑": "渾", "浓": "濃", "涛": "濤", "润": "潤", "涨": "漲", "渊": "淵", "渐": "漸",
            "温": "溫", "湾": "灣", "湿": "濕", "满": "滿", "滚": "滾", "滞": "滯", "灭": "滅", "灯": "燈",
            "灵": "靈", "灾": "災", "炉": "爐", "点": "點", "炼": "煉", "烂": "爛", "烟": "煙", "热": "熱",
            "爱": "愛", "爷": "爺", "牍": "牘", "状": "狀", "独": "獨", "狮": "獅", "猎": "獵", "猫": "貓",
            "环": "環", "现": "現", "玛": "瑪", "画": "畫", "畅": "暢", "疗": "療", "疮": "瘡", "痒": "癢",
            "监": "監", "盖": "蓋", "盘": "盤", "睁": "睜", "矿": "礦", "码": "碼", "砖": "磚", "础": "礎",
            "硕": "碩", "确": "確", "礼": "禮", "祝": "祝", "离": "離", "种": "種", "积": "積", "称": "稱",
            "稳": "穩", "穷": "窮", "窝": "窩", "竞": "競", "笔": "筆", "筑": "築", "签": "簽", "简": "簡",
            "类": "類", "粮": "糧", "紧": "緊", "纠": "糾", "红": "紅", "约": "約", "级": "級", "纪": "紀",
            "纯": "純", "纳": "納", "纸": "紙", "线": "線", "组": "組", "细": "細", "织": "織", "终": "終",
            "经": "經", "结": "結", "绕": "繞", "给": "給", "络": "絡", "绝": "絕", "统": "統", "继": "繼",
            "绩": "績", "绪": "緒", "续": "續", "绳": "繩", "维": "維", "综": "綜", "绿": "綠", "编": "編",
            "缘": "緣", "网": "網", "罗": "羅", "罚": "罰", "职": "職", "联": "聯", "肃": "肅", "肠": "腸",
            "胜": "勝", "脏": "髒", "脑": "腦", "舰": "艦", "艺": "藝", "节": "節", "芦": "蘆", "苏": "蘇",
            "苹": "蘋", "荣": "榮", "药": "藥", "莱": "萊", "获": "獲", "营": "營", "萧": "蕭",
            "蓝": "藍", "虽": "雖", "虾": "蝦", "蚁": "蟻", "补": "補", "装": "裝", "见": "見", "观": "觀",
            "规": "規", "视": "視", "览": "覽", "觉": "覺", "计": "計", "订": "訂", "认": "認", "让": "讓",
            "议": "議", "记": "記", "讲": "講", "许": "許", "论": "論", "设": "設", "访": "訪", "证": "證",
            "评": "評", "识": "識", "诉": "訴", "词": "詞", "译": "譯", "试": "試", "诗": "詩", "诚": "誠",
            "话": "話", "询": "詢", "该": "該", "详": "詳", "语": "語", "误": "誤", "说": "說", "请": "請",
            "诸": "諸", "读": "讀", "课": "課", "谁": "誰", "调": "調", "谈": "談", "谢": "謝", "谭": "譚",
            "贝": "貝", "负": "負", "贡": "貢", "财": "財", "责": "責", "贤": "賢", "败": "敗", "货": "貨",
            "质": "質", "贩": "販", "购": "購", "贯": "貫", "贴": "貼", "贵": "貴", "费": "費", "贺": "賀",
            "资": "資", "赛": "賽", "赵": "趙", "赶": "趕", "趋": "趨", "跃": "躍", "践": "踐", "车": "車",
            "轩": "軒", "转": "轉", "轮": "輪", "软": "軟", "轻": "輕", "载": "載", "较": "較", "辉": "輝",
            "输": "輸", "边": "邊", "达": "達", "迁": "遷", "过": "過", "运": "運", "还": "還", "这": "這",
            "进": "進", "远": "遠", "连": "連", "迟": "遲", "适": "適", "选": "選", "递": "遞", "逻": "邏",
            "遗": "遺", "邓": "鄧", "邮": "郵", "邻": "鄰", "郑": "鄭", "酱": "醬", "释": "釋", 
            "钢": "鋼", "钱": "錢", "铁": "鐵", "铜": "銅", "银": "銀", "铺": "鋪", "链": "鏈",
            "销": "銷", "锁": "鎖", "锋": "鋒", "锦": "錦", "键": "鍵", "镇": "鎮", "长": "長", "门": "門",
            "闪": "閃", "闭": "閉", "问": "問", "闲": "閒", "间": "間", "闻": "聞", "阁": "閣", "阅": "閱",
            "队": "隊", "阳": "陽", "阴": "陰", "阵": "陣", "阶": "階", "际": "際", "陆": "陸", "陈": "陳",
            "险": "險", "随": "隨", "隐": "隱", "难": "難", "雾": "霧", "韦": "韋", "韩": "韓", "页": "頁",
            "顶": "頂", "项": "項", "顺": "順", "须": "須", "顾": "顧", "顿": "頓", "预": "預", "领": "領",
            "频": "頻", "题": "題", "颜": "顏", "风": "風", "飞": "飛", "饭": "飯", "饮": "飲", "馆": "館",
            "马": "馬", "驻": "駐", "验": "驗", "骑": "騎", "鱼": "魚", "鲁": "魯", "鲜": "鮮", "鸟": "鳥",
            "鸡": "雞", "鸣": "鳴", "鸿": "鴻", "鹏": "鵬", "黄": "黃", "龙": "龍", "龚": "龔", "麻": "麻",
            "烦": "煩", "丽": "麗", "亿": "億", "仪": "儀", "伟": "偉", "伦": "倫", "侣": "侶", "阔": "闊",
            "湘": "湘", "荃": "荃", "屯": "屯", "贸": "貿", "厦": "廈", "层": "層", "骆": "駱", "诺": "諾",
            "鸽": "鴿", "头": "頭", "孙": "孫", "萨": "薩", "凤": "鳳", "庄": "莊", "营": "營", "宁": "寧",
            "义": "義", "复": "復", "东": "東", "与": "與", "咏": "詠", "宝": "寶", "饰": "飾", "传": "傳",
            "讯": "訊", "岭": "嶺", "滨": "濱", "写": "寫", "从": "從", "对": "對", "两": "兩", "个": "個",
            "么": "麼", "乐": "樂", "亚": "亞", "仓": "倉", "价": "價", "创": "創", "剑": "劍", "劝": "勸",
            "厨": "廚", "咨": "諮", "喷": "噴", "垫": "墊", "奋": "奮", "妇": "婦", "宽": "寬", "审": "審",
            "宫": "宮", "宾": "賓", "尔": "爾", "尧": "堯", "层": "層", "屿": "嶼", "岗": "崗", "峦": "巒",
            "帅": "帥", "帘": "簾", "庐": "廬", "弹": "彈", "归": "歸", "彦": "彥", "惠": "惠", "戴": "戴",
            "拨": "撥", "拣": "揀", "拦": "攔", "摊": "攤", "敛": "斂", "旗": "旗", "晖": "暉", "枫": "楓",
            "栅": "柵", "栏": "欄", "梦": "夢", "毡": "氈", "泸": "瀘", "洒": "灑", "浆": "漿", "浇": "澆",
            "涡": "渦", "渔": "漁", "潜": "潛", "澜": "瀾", "瑶": "瑤", "琼": "瓊", "盐": "鹽", "眯": "瞇",
            "碍": "礙", "秆": "稈", "窑": "窯", "竖": "豎", "笼": "籠", "篮": "籃", "绘": "繪", "绣": "繡",
            "缆": "纜", "缩": "縮", "聪": "聰", "肤": "膚", "胶": "膠", "舱": "艙", "芜": "蕪", "苍": "蒼",
            "荡": "蕩", "莹": "瑩", "萤": "螢", "蔼": "藹", "蕴": "蘊", "虑": "慮", "蛮": "蠻", "衔": "銜",
            "袄": "襖", "袜": "襪", "谷": "谷", "豪": "豪", "贫": "貧", "赏": "賞", "赞": "贊", "踪": "蹤",
            "辽": "遼", "迈": "邁", "邝": "鄺", "鉴": "鑒", "钓": "釣", "钻": "鑽", "铭": "銘",
            "锅": "鍋", "闽": "閩", "陕": "陝", "隶": "隸", "鞍": "鞍", "韵": "韻", "颁": "頒", "颖": "穎",
            "饶": "饒", "驾": "駕", "骏": "駿", "鲍": "鮑", "鹤": "鶴", "麦": "麥", "齐": "齊", "龟": "龜"})
S2T = {k: v for k, v in S2T.items() if len(k) == 1}
S2T.update({"钟": "鍾", "系": "繫", "谊": "誼", "将": "將", "乡": "鄉", "采": "採"})


def to_traditional(text):
    text = text.replace("老板", "老闆")  # 板 alone stays (板桥区)
    return "".join(S2T.get(ch, ch) for ch in text)


# ---------------------------------------------------------------- numbers


def digits(text):
    return re.sub(r"\D", "", text)


class Numbers:
    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def _fresh(self, make):
        while True:
            value = make()
            if value not in self.used:
                self.used.add(value)
                return value

    def mobile(self):
        r = self.rng
        return self._fresh(lambda: r.choice(MOBILE_PREFIXES) + "".join(r.choice("0123456789") for _ in range(8)))

    def local(self, length):
        r = self.rng
        return self._fresh(lambda: r.choice("2345678") + "".join(r.choice("0123456789") for _ in range(length - 1)))

    def postcode(self, province_code):
        r = self.rng
        return POSTCODE_PREFIX[province_code] + str(r.randint(0, 9)) + str(r.randint(0, 9)) + r.choice(["00", "00", "11", "12", "31", "62", "05"])


def mobile_as_typed(rng, mobile, style):
    """How a mainland mobile is written; the field is always the 11 digits."""
    a, b, c = mobile[:3], mobile[3:7], mobile[7:]
    return {
        "plain": mobile,
        "blank": f"{a} {b} {c}",
        "dash": f"{a}-{b}-{c}",
        "+86": "+86 " + mobile,
        "+86glued": "+86" + mobile,
        "(+86)": "(+86)" + mobile,
        "86-": "86-" + mobile,
        "0086": "0086 " + mobile,
    }[style]


def pick_mobile_style(rng, kind):
    styles = ["plain"] * 14 + ["blank"] * 3 + ["dash"] * 2 + ["+86", "(+86)", "0086", "+86glued"]
    if kind == "shop":
        styles += ["86-"] * 4
    return rng.choice(styles)


def landline(rng, numbers, area, style):
    """A landline as typed and as the phone field keeps it."""
    length = 8 if len(area) == 3 or area in ("0755", "0571", "0512", "0769", "0757", "0574", "0760", "0531",
                                             "0532", "0591", "0592", "0551", "0731", "0871", "0371") else 7
    local = numbers.local(length)
    field = f"{area}-{local}"
    split = f"{local[:4]} {local[4:]}"
    typed = {
        "dash": field,
        "blank": f"{area} {local}",
        "dash_split": f"{area}-{split}",
        "blank_split": f"{area} {split}",
        "paren": f"({area}){local}",
        "glued": area + local,
        "86-": f"86-{area}-{local}",
        "ext": f"{area}-{local}-{rng.randint(801, 899)}",
    }[style]
    if style == "paren":
        field = typed
    elif style == "glued":
        field = typed
    elif style == "ext":
        field = typed
    return typed, field


def pick_landline_style(rng):
    return rng.choice(["dash"] * 6 + ["blank"] * 3 + ["dash_split"] * 4 + ["blank_split"] * 2
                      + ["paren", "glued", "86-", "ext"])


# ---------------------------------------------------------------- regions


class Region:
    """A receiver's region: the expected fields and the pieces a writer can use."""

    def __init__(self, sort, province_code, city, town):
        self.sort = sort  # county, municipal, nocounty, hk, mo, tw
        self.province_code = province_code
        self.province_full = PROVINCES[province_code]
        self.city = city
        self.town = town

    @property
    def province(self):
        return SHORT_PROVINCE.get(self.province_full, self.province_full)

    def province_short(self):
        if self.province_full in SHORT_PROVINCE:
            return SHORT_PROVINCE[self.province_full]
        return self.province_full[:-1] if self.province_full.endswith("省") else self.province_full

    def city_short(self):
        if self.city in PREFECTURE_SHORT:
            return PREFECTURE_SHORT[self.city]
        if self.city.endswith("市") and len(self.city) >= 3:
            return self.city[:-1]
        return self.city


def county_rows():
    rows = []
    for code, name in COUNTIES.items():
        prov, pref = code[:2], code[:4]
        if prov in ("71", "81", "82") or name in COUNTY_AVOID or name.endswith("林区"):
            continue
        if prov in MUNICIPALITIES:
            rows.append(("municipal", prov, PROVINCES[prov], name))
        elif pref in PREFECTURES and PREFECTURES[pref] != name and code[2:4] != "90":
            rows.append(("county", prov, PREFECTURES[pref], name))
    return rows


COUNTY_ROWS = county_rows()
COUNTY_NAME_COUNT = {}
for _code, _name in COUNTIES.items():
    COUNTY_NAME_COUNT[_name] = COUNTY_NAME_COUNT.get(_name, 0) + 1


def unique_in_province(region):
    same = [c for c, n in COUNTIES.items() if n == region.town and c[:2] == region.province_code]
    return len(same) == 1 and region.town not in PREFECTURES.values()


def unique_in_country(region):
    return COUNTY_NAME_COUNT.get(region.town) == 1 and region.town not in PREFECTURES.values() \
        and len(region.town) >= 3


def city_of_no_county(name):
    for code, pname in PREFECTURES.items():
        if pname == name:
            return code[:2]
    for code, cname in COUNTIES.items():
        if cname == name and code[2:4] == "90":
            return code[:2]
    raise ValueError(name)


def draw_region(rng, sort):
    if sort in ("county", "municipal", "prefecture_short"):
        while True:
            if sort == "prefecture_short":
                city = rng.choice(sorted(PREFECTURE_SHORT))
                code = next(c for c, n in PREFECTURES.items() if n == city)
                towns = [n for c, n in COUNTIES.items() if c[:4] == code and n not in COUNTY_AVOID]
                return Region("county", code[:2], city, rng.choice(sorted(towns)))
            prov = rng.choices(list(PROVINCE_WEIGHT), weights=list(PROVINCE_WEIGHT.values()))[0]
            if (prov in MUNICIPALITIES) != (sort == "municipal"):
                continue
            rows = [r for r in COUNTY_ROWS if r[1] == prov]
            kind, prov, city, town = rng.choice(rows)
            return Region(kind, prov, city, town)
    if sort == "nocounty":
        city = rng.choice(sorted(NO_COUNTY_TOWNS))
        return Region("nocounty", city_of_no_county(city), city, rng.choice(NO_COUNTY_TOWNS[city]))
    if sort == "hk":
        city, town = rng.choice(sorted(HK_STREETS))
        return Region("hk", "81", city, town)
    if sort == "mo":
        city, town = rng.choice(sorted(MO_STREETS))
        return Region("mo", "82", city, town)
    if sort == "tw":
        city = rng.choice(sorted(TW_DISTRICTS))
        return Region("tw", "71", city, rng.choice(TW_DISTRICTS[city]))
    raise ValueError(sort)


def region_as_typed(rng, region, mode):
    """The region as a writer types it: mode full, blank, short, noprov, nocity, townonly, colloquial."""
    p, c, t = region.province_full, region.city, region.town
    if region.sort == "municipal":
        return {
            "full": f"{p}{t}", "blank": f"{region.province} {p} {t}", "short": f"{region.province}{t}",
            "noprov": f"{p}{t}", "nocity": f"{p}{t}", "townonly": t, "spaced": f"{p} {t}",
        }.get(mode, f"{p}{t}")
    if region.sort == "hk":
        hk_city = "港岛" if (c == "香港岛" and rng.random() < 0.3) else c
        return {
            "full": f"香港特别行政区{hk_city}{t}", "blank": f"香港 {hk_city} {t}", "short": f"香港{hk_city}{t}",
            "noprov": f"{hk_city}{t}", "nocity": f"香港{t}",
        }.get(mode, f"香港{hk_city}{t}")
    if region.sort == "mo":
        return {
            "full": f"澳门特别行政区{c}{t}", "blank": f"澳门 {c} {t}", "noprov": f"{c}{t}",
        }.get(mode, f"澳门{c}{t}")
    if region.sort == "tw":
        return {
            "full": f"台湾省{c}{t}", "blank": f"台湾 {c} {t}", "short": f"台湾{c}{t}",
        }.get(mode, f"{c}{t}")
    if region.sort == "nocounty":
        return {
            "full": f"{p}{c}{t}", "blank": f"{p} {c} {t}", "short": f"{region.province_short()}{region.city_short()}{t}",
            "noprov": f"{c}{t}",
        }.get(mode, f"{p}{c}{t}")
    return {
        "full": f"{p}{c}{t}",
        "blank": f"{p} {c} {t}",
        "short": f"{region.province_short()}{region.city_short()}{t}",
        "noprov": f"{c}{t}",
        "nocity": f"{p}{t}",
        "townonly": t,
        "colloquial": f"{region.province_short()}{region.city_short()}{t}",
        "spaced": f"{region.province_short()} {region.city_short()} {t}",
    }[mode]


def pick_region_mode(rng, region, kind):
    modes = ["full"] * 8 + ["blank"] * 3 + ["short"] * 3 + ["noprov"] * 2 + ["spaced"]
    if region.sort == "county" and unique_in_province(region):
        modes += ["nocity"]
    if region.sort in ("county", "municipal") and unique_in_country(region) and kind in ("chat", "auction"):
        modes += ["townonly"]
    if region.city in PREFECTURE_SHORT:
        modes = ["colloquial"] * 4 + ["full"]
    if region.sort in ("hk", "mo", "tw"):
        modes = ["full", "blank", "short", "other", "other"]
        if region.sort == "hk" and [k for k in HK_STREETS if k[1] == region.town] == [(region.city, region.town)] \
                and region.town not in ("东区", "南区"):
            modes += ["nocity"]
    return rng.choice(modes)


# ---------------------------------------------------------------- streets, names, companies


def street(rng, region):
    if region.sort == "hk":
        return rng.choice(HK_STREETS[(region.city, region.town)])
    if region.sort == "mo":
        return rng.choice(MO_STREETS[(region.city, region.town)])
    if region.sort == "tw":
        stem = rng.choice(["中正", "民生", "民权", "复兴", "中华", "忠孝东", "仁爱", "和平东"])
        section = rng.choice(["一", "二", "三", "四"])
        return f"{stem}路{section}段{rng.randint(1, 300)}号{rng.randint(2, 15)}楼"
    road = rng.choice(ROAD_STEMS) + rng.choice(["", "", "东", "西", "南", "北", "中"]) + rng.choice(["路", "路", "路", "街", "大道", "大街"])
    number = f"{rng.randint(1, 999)}号"
    form = rng.random()
    if form < 0.25:
        text = road + number
    elif form < 0.55:
        text = f"{road}{number}{rng.choice(ESTATES)}{rng.randint(1, 28)}栋{rng.randint(1, 4)}单元{rng.randint(1, 30)}0{rng.randint(1, 4)}室"
    elif form < 0.68:
        text = f"{road}{number}{rng.choice(TOWERS)}{rng.randint(2, 40)}楼{rng.randint(1, 20):02d}室"
    elif form < 0.78:
        text = f"{rng.choice(ESTATES)}{rng.randint(1, 30)}幢{rng.randint(1, 33)}0{rng.randint(1, 6)}"
    elif form < 0.86:
        text = f"{rng.choice(VILLAGES)}村{rng.randint(1, 12)}组{rng.randint(1, 99)}号"
    elif form < 0.93:
        text = f"{road}{number}{rng.choice(['菜鸟驿站', '快递柜旁', '门卫室', '东门'])}"
    else:
        text = f"{road}与{rng.choice(ROAD_STEMS)}路交叉口{rng.choice(['东北角', '西南角', '往北50米'])}"
    return text


def person_name(rng, numbers):
    roll = rng.random()
    if roll < 0.05:
        name = rng.choice(MINORITY_NAMES)
    elif roll < 0.13:
        name = rng.choice(COMPOUND_SURNAMES) + rng.choice([rng.choice(GIVEN), rng.choice(GIVEN2)])
    else:
        name = rng.choice(SURNAMES) + rng.choice([rng.choice(GIVEN), rng.choice(GIVEN2), rng.choice(GIVEN2)])
    return name


def company_name(rng, region):
    stem = region.city_short() if region.sort in ("county", "nocounty") else region.province_short()
    if region.sort in ("hk", "mo", "tw"):
        return rng.choice(COMPANY_WORDS) + rng.choice(["貿易有限公司", "國際物流有限公司", "實業有限公司"])
    if rng.random() < 0.25:
        return stem + rng.choice(["市", ""]) + rng.choice(INSTITUTIONS) if not stem.endswith("州") else stem + rng.choice(INSTITUTIONS)
    return stem + rng.choice(COMPANY_WORDS) + rng.choice(COMPANY_TRADES)


# ---------------------------------------------------------------- the receiver record


class Receiver:
    def __init__(self, rng, numbers, kind, region, traditional=False):
        self.rng = rng
        self.kind = kind
        self.region = region
        self.local_only = False
        self.traditional = traditional or self.region.sort in ("tw",) or (
            self.region.sort in ("hk", "mo") and rng.random() < 0.6)
        if self.traditional and self.region.sort in ("hk", "mo", "tw") and rng.random() < 0.7:
            self.name = rng.choice(TRAD_NAMES)
        else:
            self.name = person_name(rng, numbers)
        self.street = street(rng, self.region)
        self.company = company_name(rng, self.region) if rng.random() < 0.16 else ""
        self.country = False
        self.postcode = ""
        if self.region.sort not in ("hk", "mo", "tw") and rng.random() < 0.28:
            self.postcode = numbers.postcode(self.region.province_code)
        self.mobile = self.mobile_typed = ""
        self.phone = self.phone_typed = ""
        self.second_mobile = False
        self.fax = ""
        self._numbers(numbers)

    def _numbers(self, numbers):
        rng, region = self.rng, self.region
        if region.sort == "hk" or region.sort == "mo":
            first = rng.choice("569") if region.sort == "hk" else "6"
            local = first + numbers.local(8)[1:]
            self.phone = local
            self.phone_typed = rng.choice([f"+{'852' if region.sort == 'hk' else '853'} {local[:4]} {local[4:]}",
                                           f"{local[:4]} {local[4:]}", local])
            if rng.random() < 0.25:
                self.mobile = numbers.mobile()
                self.mobile_typed = mobile_as_typed(rng, self.mobile, rng.choice(["plain", "+86", "(+86)"]))
            return
        if region.sort == "tw":
            if rng.random() < 0.6:
                m = "09" + numbers.local(8)
                self.phone = self.phone_typed = f"{m[:4]}-{m[4:7]}-{m[7:]}"
            else:
                area = TW_AREA[region.city]
                local = numbers.local(8 if area == "02" else 7)
                self.phone = self.phone_typed = f"{area}-{local[:4]}-{local[4:]}" if area == "02" else f"{area}-{local[:3]}-{local[3:]}"
            return
        roll = rng.random()
        area = AREA_CODES.get(region.city)
        local_allowed = self.kind in ("labelled", "auction")
        if roll < 0.7 or area is None and (roll < 0.97 or not local_allowed) or roll >= 0.9 and not local_allowed:
            self.mobile = numbers.mobile()
            self.mobile_typed = mobile_as_typed(rng, self.mobile, pick_mobile_style(rng, self.kind))
            if rng.random() < 0.22 and area:
                self.phone_typed, self.phone = landline(rng, numbers, area, pick_landline_style(rng))
            elif rng.random() < 0.08:
                self.phone = self.phone_typed = numbers.mobile()
                self.second_mobile = True
        elif roll < 0.9 and area:
            self.phone_typed, self.phone = landline(rng, numbers, area, pick_landline_style(rng))
            if rng.random() < 0.5:
                self.mobile = numbers.mobile()
                self.mobile_typed = mobile_as_typed(rng, self.mobile, "plain")
        else:
            # a local number without area code, written at the end of its line
            self.phone = self.phone_typed = numbers.local(8)
            self.local_only = True  # written at the end of its line
            self.mobile = numbers.mobile()
            self.mobile_typed = mobile_as_typed(rng, self.mobile, "plain")
        if self.kind in ("labelled", "shop") and self.phone and not self.second_mobile and area and rng.random() < 0.12:
            self.fax = landline(rng, numbers, area, "dash")[0]

    def region_text(self, mode=None):
        mode = mode or pick_region_mode(self.rng, self.region, self.kind)
        return region_as_typed(self.rng, self.region, mode)

    def expect(self):
        r = self.region
        e = {
            "company": self.company, "name": self.name, "phone": self.phone, "mobile": self.mobile,
            "country": "中国" if self.country else "", "province": r.province, "city": r.city, "town": r.town,
            "address": self.street, "postcode": self.postcode,
        }
        if self.traditional:
            for key in ("company", "name", "address"):
                e[key] = to_traditional(e[key])
        return e


def phones_written(rec, joiner):
    """The receiver's numbers in one run, the mobile first (or the landline first when it is the main one)."""
    parts = []
    if rec.mobile_typed:
        parts.append(rec.mobile_typed)
    if rec.phone_typed:
        if rec.rng.random() < 0.5 and not rec.second_mobile and not rec.local_only:
            parts.insert(0, rec.phone_typed)
        else:
            parts.append(rec.phone_typed)
    return joiner.join(parts)


# ---------------------------------------------------------------- shop exports


def order_number(rng, platform):
    if platform == "jd":
        return str(rng.randint(200000000000, 299999999999))
    if platform == "pdd":
        return f"{rng.randint(230101, 241231)}-{rng.randint(10**14, 10**15 - 1)}"
    return str(rng.randint(10**17, 10**19 - 1))


def order_time(rng):
    return f"2024-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d} {rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}:{rng.randint(0, 59):02d}"


def shop_text(rec):
    rng = rec.rng
    rec.company = rec.company if rng.random() < 0.5 else ""
    fmt = rng.choice(["taobao"] * 5 + ["jd"] * 3 + ["pdd"] * 3 + ["douyin"] * 2 + ["xianyu"] * 2 + ["wechat"] * 2
                     + ["youzan"] * 2 + ["alibaba"] * 2 + ["sheet"] * 2 + ["pipe"] * 2)
    name_label = rng.choice(["收件人", "收货人", "联系人", "买家", "姓名"])
    phone_label = rng.choice(["联系方式", "手机号码", "电话号码", "收货电话", "联系电话", "手机号"])
    addr_label = rng.choice(["收货地址", "配送地址", "详细地址", "地址"])
    colon = rng.choice(["：", "：", ":", ": "])
    postcode = rec.postcode
    pc_written = rng.choice([f"（{postcode}）", f"({postcode})", postcode]) if postcode else ""
    company = f"{rec.company} " if rec.company else ""
    if fmt == "taobao":
        rec.company = ""
        sep = rng.choice(["，", "，", ","])
        mobile = rec.mobile_typed
        numbers = sep.join(x for x in ([rec.phone_typed, mobile] if rng.random() < 0.6 else [mobile, rec.phone_typed]) if x)
        region = rec.region_text("blank" if rec.region.sort != "hk" or rng.random() < 0.5 else "full")
        tail = f" {sep}{pc_written}" if pc_written else ""
        head = rng.choice(["收货地址：", "收货地址:", "", ""])
        return f"{head}{rec.name}{sep}{numbers}{sep}{region} {rec.street}{tail}"
    if fmt == "jd":
        lines = [f"订单号{colon}{order_number(rng, 'jd')}", f"下单时间{colon}{order_time(rng)}",
                 f"客户姓名{colon}{rec.name}", f"{phone_label}{colon}{phones_written(rec, ' / ')}",
                 f"{addr_label}{colon}{rec.region_text('short' if rng.random() < 0.6 else 'full')}{rec.street}"]
        if company:
            lines.insert(3, f"单位{colon}{rec.company}")
        if pc_written:
            lines.append(f"邮编{colon}{postcode}")
        lines.append(f"商品{colon}{rng.choice(GOODS)} x{rng.randint(1, 3)}")
        return "\n".join(lines)
    if fmt == "pdd":
        if rng.random() < 0.5:
            rec.company = ""
            sep = rng.choice([" ", "，", "  "])
            return sep.join([rec.name, phones_written(rec, " "), rec.region_text() + rng.choice(["", " "]) + rec.street]) + (
                f" {pc_written}" if pc_written else "")
        lines = [f"订单编号{colon}{order_number(rng, 'pdd')}", f"{name_label}{colon}{rec.name}",
                 f"{phone_label}{colon}{phones_written(rec, ' ')}",
                 f"{addr_label}{colon}{rec.region_text()}{rec.street}"]
        if company:
            lines.insert(2, f"公司{colon}{rec.company}")
        if pc_written:
            lines.append(f"邮编{colon}{postcode}")
        return "\n".join(lines)
    if fmt == "douyin":
        lines = [f"{name_label}{colon}{rec.name}", f"{phone_label}{colon}{phones_written(rec, '，')}",
                 f"{addr_label}{colon}{rec.region_text()} {rec.street}"]
        if company:
            lines.insert(1, f"公司名称{colon}{rec.company}")
        if pc_written:
            lines.append(f"邮编{colon}{postcode}")
        lines.append(f"买家留言{colon}{rng.choice(REMARKS)}")
        if rng.random() < 0.5:
            lines.insert(0, f"下单时间{colon}{order_time(rng)}")
        return "\n".join(lines)
    if fmt == "xianyu":
        rec.company = ""
        rec.postcode = ""
        return rng.choice([" ", "  ", "，"]).join([rec.name, phones_written(rec, " "), rec.region_text() + rec.street])
    if fmt == "wechat":
        lines = [f"订单编号{colon}{order_number(rng, 'wx')}", f"{name_label}{colon}{rec.name}",
                 f"{phone_label}{colon}{phones_written(rec, ' ')}"]
        if company:
            lines.append(f"公司{colon}{rec.company}")
        if rec.region.sort in ("county", "municipal") and rng.random() < 0.45:
            office = rng.choice(STREET_OFFICES)
            lines.append(f"所在地区{colon}{rec.region_text('blank')} {office}")
            lines.append(f"详细地址{colon}{rec.street}")
            rec.street = office + rec.street
        else:
            lines.append(f"所在地区{colon}{rec.region_text('blank')}")
            lines.append(f"详细地址{colon}{rec.street}")
        if pc_written:
            lines.append(f"邮政编码{colon}{postcode}")
        return "\n".join(lines)
    if fmt == "youzan":
        sep = rng.choice(["，", "；", " | ", "，"])
        items = [f"{name_label}{colon}{rec.name}", f"{phone_label}{colon}{phones_written(rec, ' ')}"]
        if company:
            items.append(f"公司{colon}{rec.company}")
        items.append(f"{addr_label}{colon}{rec.region_text()}{rec.street}")
        if pc_written:
            items.append(f"邮编{colon}{postcode}")
        return sep.join(items)
    if fmt == "alibaba":
        sep = rng.choice(["，", ","])
        items = [rec.company, rec.name, phones_written(rec, sep), rec.region_text("blank") + " " + rec.street]
        if pc_written:
            items.append(postcode)
        return "收货信息：" + sep.join(x for x in items if x)
    if fmt == "sheet":
        rec.company = ""
        headers = ["订单编号", rng.choice(["收货人姓名", "收件人", "收货人"]), rng.choice(["联系手机", "手机号码", "联系电话"]),
                   "收货地址", "数量"]
        values = [order_number(rng, "tb"), rec.name, phones_written(rec, " "), rec.region_text() + rec.street,
                  str(rng.randint(1, 5))]
        if pc_written:
            headers.insert(4, "邮编")
            values.insert(4, postcode)
        sep = "\t" if rng.random() < 0.7 else ","
        return sep.join(headers) + "\n" + sep.join(values)
    # pipe: a listing export with time, order number and remark
    items = [order_time(rng), order_number(rng, "tb"), rec.name, phones_written(rec, " "),
             rec.region_text() + rec.street]
    if company:
        items.insert(3, rec.company)
    if pc_written:
        items.append(pc_written)
    items.append(f"备注：{rng.choice(REMARKS)}")
    return " | ".join(items)


# ---------------------------------------------------------------- labelled forms


def labelled_text(rec):
    rng = rec.rng
    colon = rng.choice(["：", "：", "：", ":", " : ", ": ", " "])
    lab = lambda word: f"{word}{colon}"
    name_label = rng.choice(["姓名", "收件人", "收货人", "联系人", "收件人姓名"])
    items = []
    if rng.random() < 0.1 and rec.company:
        # a business card: name and title, company, numbers, address
        title = rng.choice(["销售经理", "总经理", "采购主管", "行政"])
        lines = [f"{rec.name}  {title}", rec.company]
        if rec.mobile_typed:
            lines.append(lab("手机") + rec.mobile_typed)
        if rec.phone_typed:
            lines.append(lab("电话" if not rec.second_mobile else "手机2") + rec.phone_typed)
        if rec.fax:
            lines.append(lab("传真") + rec.fax)
        lines.append(lab("地址") + rec.region_text() + rec.street)
        if rec.postcode:
            lines.append(lab("邮编") + rec.postcode)
        return "\n".join(lines)
    if rec.company:
        items.append(lab(rng.choice(["公司", "单位", "公司名称", "单位名称", "收件单位"])) + rec.company)
    items.append(lab(name_label) + rec.name)
    if rec.mobile_typed:
        items.append(lab(rng.choice(["手机", "手机号", "手机号码", "移动电话", "联系电话"])) + rec.mobile_typed)
    if rec.phone_typed:
        if rec.second_mobile:
            label = "备用手机"
        elif rec.region.sort in ("hk", "mo", "tw"):
            label = rng.choice(["电话", "联系电话"])
        else:
            label = rng.choice(["电话", "座机", "固话", "固定电话", "Tel"])
        items.append(lab(label) + rec.phone_typed)
    if rec.fax:
        items.append(lab(rng.choice(FAX_LABELS)) + rec.fax)
    if rng.random() < 0.15 and rec.region.sort not in ("hk", "mo", "tw") and not rec.traditional:
        rec.country = True
        items.append(lab("国家") + "中国")
    items.extend(labelled_region(rec, lab))
    if rec.postcode:
        items.append(lab(rng.choice(["邮编", "邮政编码"])) + rec.postcode)
    if rng.random() < 0.3 and not rec.local_only:
        # several items on a line
        joined, line = [], []
        for item in items:
            line.append(item)
            if rng.random() < 0.45:
                joined.append(rng.choice(["  ", " ", "，", "；"]).join(line))
                line = []
        if line:
            joined.append("  ".join(line))
        return "\n".join(joined)
    return "\n".join(items)


def labelled_region(rec, lab):
    rng, region = rec.rng, rec.region
    p, c, t = region.province_full, region.city, region.town
    roll = rng.random()
    if region.sort == "nocounty" and roll < 0.7:
        return [lab(rng.choice(["省份", "省"])) + p, lab(rng.choice(["城市", "市"])) + c,
                lab(rng.choice(["镇", "街道", "乡镇", "镇区"])) + t, lab(rng.choice(["地址", "详细地址"])) + rec.street]
    if region.sort == "county" and roll < 0.2:
        return [lab(rng.choice(["省份", "省"])) + p, lab(rng.choice(["城市", "市"])) + c,
                lab(rng.choice(["区县", "县区"] + ([t[-1]] if t[-1] in "区县" else []))) + t,
                lab(rng.choice(["地址", "详细地址", "街道地址"])) + rec.street]
    if region.sort == "county" and roll < 0.35:
        # no district label: the street line starts with the district
        return [lab(rng.choice(["省份", "省"])) + p, lab(rng.choice(["城市", "市"])) + c,
                lab(rng.choice(["地址", "详细地址"])) + t + rec.street]
    if region.sort == "county" and roll < 0.47 and t.endswith("县"):
        # the county label, then a street line that starts with a town
        town = rng.choice(COUNTY_TOWNS)
        rec.street = town + rec.street
        return [lab("省") + p, lab("市") + c, lab(rng.choice(["县", "区县", "县区"])) + t, lab("地址") + rec.street]
    if region.sort in ("county", "municipal") and roll < 0.6:
        office = rng.choice(STREET_OFFICES)
        detail = rec.street
        rec.street = office + detail
        return [lab(rng.choice(["所在地区", "省市区", "地区"])) + rec.region_text("blank") + " " + office,
                lab("详细地址") + detail]
    if roll < 0.75:
        return [lab(rng.choice(["所在地区", "省市区", "地区"])) + rec.region_text(rng.choice(["blank", "full"])),
                lab(rng.choice(["详细地址", "地址"])) + rec.street]
    return [lab(rng.choice(["地址", "收货地址", "详细地址"])) + rec.region_text() + rec.street]


# ---------------------------------------------------------------- auction one-liners


def auction_text(rec):
    rng = rec.rng
    rec.company = rec.company if rng.random() < 0.4 else ""
    phones = phones_written(rec, rng.choice([" / ", "/", " ", "，"]))
    style = rng.random()
    region = rec.region_text()
    if style < 0.25 and not rec.local_only:
        # everything glued: name, numbers, address
        if rec.mobile_typed and " " in rec.mobile_typed:
            rec.mobile_typed = rec.mobile
            phones = phones_written(rec, "/")
        full = rec.region_text("full")
        text = f"{rec.name}{phones}{full}{rec.street}"
        if rec.postcode and not rec.street[-1].isdigit():
            text += rec.postcode
        elif rec.postcode:
            text += " " + rec.postcode
        return (rec.company + " " if rec.company else "") + text
    if style < 0.45:
        # the name glued before the province
        full = rec.region_text("full")
        sep = rng.choice([" ", "  ", "，", " / "])
        text = f"{rec.name}{full}{rec.street}"
        if rec.postcode:
            text += f"{sep}{rec.postcode}"
        text += f"{sep}{phones}"
        return (rec.company + sep if rec.company else "") + text
    items = [rec.name, phones, region + rng.choice(["", " "]) + rec.street]
    if rec.company:
        items.insert(rng.randint(0, 3), rec.company)
    rng.shuffle(items)
    if rec.local_only:
        # a local number without area code: the last thing on the line
        items.remove(phones)
        items.append(phones)
    if rec.postcode:
        items.insert(len(items) - 1 if rec.local_only else len(items),
                     rng.choice([rec.postcode, f"({rec.postcode})", f"邮编{rec.postcode}"]))
    sep = rng.choice([" ", "  ", "   ", "，", ",", " / ", "  "])
    text = sep.join(items)
    if rng.random() < 0.3:
        text = rng.choice(["收件：", "收：", "寄：", "拍下请发：", "  "]) + text
    if rng.random() < 0.2 and not rec.local_only:
        text += "  "
    return text


# ---------------------------------------------------------------- chat messages

GREETINGS = ["亲，", "你好，", "老板你好～", "在吗？\n", "hello ", "您好！", "", "", "亲亲 ", "掌柜的，"]
ADDRESS_INTROS = ["麻烦寄到", "寄到", "地址是", "收货地址：", "帮我发到", "发到这个地址：", "地址：", "麻烦发到"]
TAILS = ["谢谢", "谢谢亲", "发顺丰", "麻烦发顺丰", "发韵达就行", "中通也可以", "😊", "🙏", "辛苦啦", "多谢～", "谢谢老板👍", ""]


def chat_text(rec):
    rng = rec.rng
    region = rec.region_text()
    address = region + rng.choice(["", "", " "]) + rec.street
    name_part = rng.choice([f"收件人是{rec.name}", f"{rec.name}收", f"（{rec.name} 收）", f"收件人：{rec.name}",
                            f"名字写{rec.name}", f"{rec.name}", f"收货人{rec.name}"])
    numbers = phones_written(rec, rng.choice([" / ", "，", " 或 ", " "]))
    phone_part = rng.choice([f"电话{numbers}", f"手机{numbers}", f"电话：{numbers}", f"联系电话{numbers}", numbers,
                             f"打这个电话{numbers}"]) if numbers else ""
    extras = []
    if rng.random() < 0.2:
        qq = str(rng.randint(100000, 999999999))
        extras.append(rng.choice([f"我QQ是{qq}", f"QQ：{qq}", f"有事加微信xm_{qq[:4]}", f"微信同号"]))
    style = rng.random()
    if rec.company and style < 0.35:
        # the company after the address
        text = f"寄：{address} {rec.company} {rec.name} {numbers}"
        if rec.postcode:
            text += f" 邮编{rec.postcode}"
        return finish_chat(rec, text)
    rec.company = ""
    if style < 0.5:
        parts = [rng.choice(GREETINGS) + rng.choice(ADDRESS_INTROS) + address, name_part, phone_part]
    elif style < 0.75:
        parts = [rng.choice(GREETINGS) + name_part, phone_part, rng.choice(ADDRESS_INTROS) + address]
    else:
        parts = [rng.choice(GREETINGS) + rec.name + " " + numbers, address]
    if rec.postcode:
        parts.append(rng.choice([f"邮编{rec.postcode}", f"邮编：{rec.postcode}"]))
    parts.extend(extras)
    tail = rng.choice(TAILS)
    if tail:
        parts.append(tail)
    seps = ["，", "\n", " ", "，", "。"]
    text = parts[0]
    for part in parts[1:]:
        if not part:
            continue
        text += rng.choice(seps) + part
    return finish_chat(rec, text)


def finish_chat(rec, text):
    return text


# ---------------------------------------------------------------- assembly

TEXT_MAKERS = {"shop": shop_text, "labelled": labelled_text, "auction": auction_text, "chat": chat_text}


def region_sorts(rng, kind):
    """The sorts of region for one kind's texts, in proportions a seller meets them."""
    plan = ["municipal"] * 8 + ["nocounty"] * 4 + ["hk"] * 2 + ["mo"] * 1 + ["tw"] * 1
    if kind == "chat":
        plan += ["prefecture_short"] * 4 + ["hk", "tw", "mo"]
    else:
        plan += ["prefecture_short"]
    plan += ["county"] * (PER_KIND - len(plan))
    rng.shuffle(plan)
    return plan


def build_rows(seed=SEED):
    rng = random.Random(seed)
    numbers = Numbers(rng)
    rows, seen = [], set()
    for kind in KINDS:
        sorts = region_sorts(rng, kind)
        traditional_slots = set(rng.sample(range(PER_KIND), {"chat": 6, "labelled": 2, "shop": 1, "auction": 1}[kind]))
        for index, sort in enumerate(sorts):
            while True:
                trad = index in traditional_slots
                if trad and sort in ("county", "municipal", "prefecture_short"):
                    sort_here = "trad_mainland"
                else:
                    sort_here = sort
                rec = make_receiver(rng, numbers, kind, sort_here)
                text = TEXT_MAKERS[kind](rec)
                if rec.traditional:
                    text = to_traditional(text)
                text = text.replace("\r", "")
                if text in seen:
                    continue
                seen.add(text)
                row = {"text": text, "kind": kind, "expect": rec.expect()}
                check_row(row)
                rows.append(row)
                break
    return rows


TRAD_MAINLAND = [("44", "深圳市", ["南山区", "福田区", "罗湖区", "宝安区"]), ("44", "广州市", ["天河区", "越秀区", "海珠区"]),
                 ("35", "厦门市", ["思明区", "湖里区"]), ("35", "福州市", ["鼓楼区", "台江区"])]


def make_receiver(rng, numbers, kind, sort):
    if sort == "trad_mainland":
        prov, city, towns = rng.choice(TRAD_MAINLAND)
        return Receiver(rng, numbers, kind, Region("county", prov, city, rng.choice(towns)), traditional=True)
    return Receiver(rng, numbers, kind, draw_region(rng, sort))


# ---------------------------------------------------------------- checks


def check_row(row):
    text, e = row["text"], row["expect"]
    assert set(e) == set(FIELDS), row
    province_names = {SHORT_PROVINCE.get(n, n) for n in PROVINCES.values()}
    assert e["province"] in province_names, row
    code = next(c for c, n in PROVINCES.items() if SHORT_PROVINCE.get(n, n) == e["province"])
    if code in MUNICIPALITIES:
        assert e["city"] == PROVINCES[code], row
        assert any(c[:2] == code and n == e["town"] for c, n in COUNTIES.items()), row
    elif e["city"] in NO_COUNTY_TOWNS:
        assert city_of_no_county(e["city"]) == code and e["town"] in NO_COUNTY_TOWNS[e["city"]], row
    else:
        pref = [c for c, n in PREFECTURES.items() if n == e["city"] and c[:2] == code]
        assert len(pref) == 1, row
        assert any(c[:4] == pref[0] and n == e["town"] for c, n in COUNTIES.items()), row
    for key in ("name", "company"):
        assert e[key] in text, (key, row)
    assert e["address"] in text or joined_in(text, e["address"]), ("address", row)
    for key in ("phone", "mobile", "postcode"):
        if e[key]:
            assert digits(e[key]) in digits(text), (key, row)
    if e["postcode"]:
        assert re.fullmatch(r"\d{6}", e["postcode"]), row
    if e["mobile"]:
        assert re.fullmatch(r"1\d{10}", e["mobile"]), row
    assert e["name"] and 2 <= len(e["name"]) <= 5, row
    assert e["name"] not in ALL_NAMES, row
    for word in ("谢谢", "收", "亲"):
        assert word not in e["name"], row


def joined_in(text, address):
    """The address is two pieces that each occur in the text (所在地区 … 街道 + 详细地址)."""
    for cut in range(2, len(address) - 1):
        head, tail = address[:cut], address[cut:]
        if head.endswith("街道") and head in text and tail in text:
            return True
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=str(OUT))
    args = parser.parse_args()
    rows = build_rows()
    with open(args.out, "w", encoding="utf-8") as f:
        for row in rows:
            f.write(json.dumps(row, ensure_ascii=False) + "\n")
    print(f"{len(rows)} texts written to {args.out}", file=sys.stderr)


if __name__ == "__main__":
    main()
