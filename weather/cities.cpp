#include "cities.h"

#include <iterator>

namespace Weather {

namespace {

const City kCities[] = {
    // Chinese provincial capitals, municipalities and special administrative regions.
    {"Beijing", "北京", 39.9042, 116.4074},
    {"Shanghai", "上海", 31.2304, 121.4737},
    {"Tianjin", "天津", 39.3434, 117.3616},
    {"Chongqing", "重庆", 29.5630, 106.5516},
    {"Shijiazhuang", "石家庄", 38.0428, 114.5149},
    {"Taiyuan", "太原", 37.8706, 112.5489},
    {"Hohhot", "呼和浩特", 40.8424, 111.7490},
    {"Shenyang", "沈阳", 41.8057, 123.4315},
    {"Changchun", "长春", 43.8171, 125.3235},
    {"Harbin", "哈尔滨", 45.8038, 126.5349},
    {"Nanjing", "南京", 32.0603, 118.7969},
    {"Hangzhou", "杭州", 30.2741, 120.1551},
    {"Hefei", "合肥", 31.8206, 117.2272},
    {"Fuzhou", "福州", 26.0745, 119.2965},
    {"Nanchang", "南昌", 28.6820, 115.8579},
    {"Jinan", "济南", 36.6512, 117.1201},
    {"Zhengzhou", "郑州", 34.7466, 113.6254},
    {"Wuhan", "武汉", 30.5928, 114.3055},
    {"Changsha", "长沙", 28.2282, 112.9388},
    {"Guangzhou", "广州", 23.1291, 113.2644},
    {"Nanning", "南宁", 22.8170, 108.3669},
    {"Haikou", "海口", 20.0440, 110.1999},
    {"Chengdu", "成都", 30.5728, 104.0668},
    {"Guiyang", "贵阳", 26.6470, 106.6302},
    {"Kunming", "昆明", 25.0389, 102.7183},
    {"Lhasa", "拉萨", 29.6520, 91.1721},
    {"Xi'an", "西安", 34.3416, 108.9398},
    {"Lanzhou", "兰州", 36.0611, 103.8343},
    {"Xining", "西宁", 36.6171, 101.7782},
    {"Yinchuan", "银川", 38.4872, 106.2309},
    {"Urumqi", "乌鲁木齐", 43.8256, 87.6168},
    {"Hong Kong", "香港", 22.3193, 114.1694},
    {"Macao", "澳门", 22.1987, 113.5439},
    {"Taipei", "台北", 25.0330, 121.5654},
    // The largest cities of the world.
    {"Tokyo", "东京", 35.6895, 139.6917},
    {"Osaka", "大阪", 34.6937, 135.5023},
    {"Seoul", "首尔", 37.5665, 126.9780},
    {"Delhi", "德里", 28.6139, 77.2090},
    {"Mumbai", "孟买", 19.0760, 72.8777},
    {"Dhaka", "达卡", 23.8103, 90.4125},
    {"Karachi", "卡拉奇", 24.8607, 67.0011},
    {"Manila", "马尼拉", 14.5995, 120.9842},
    {"Jakarta", "雅加达", -6.2088, 106.8456},
    {"Bangkok", "曼谷", 13.7563, 100.5018},
    {"Singapore", "新加坡", 1.3521, 103.8198},
    {"Tehran", "德黑兰", 35.6892, 51.3890},
    {"Dubai", "迪拜", 25.2048, 55.2708},
    {"Istanbul", "伊斯坦布尔", 41.0082, 28.9784},
    {"Moscow", "莫斯科", 55.7558, 37.6173},
    {"London", "伦敦", 51.5074, -0.1278},
    {"Paris", "巴黎", 48.8566, 2.3522},
    {"Berlin", "柏林", 52.5200, 13.4050},
    {"Madrid", "马德里", 40.4168, -3.7038},
    {"Rome", "罗马", 41.9028, 12.4964},
    {"Cairo", "开罗", 30.0444, 31.2357},
    {"Lagos", "拉各斯", 6.5244, 3.3792},
    {"Kinshasa", "金沙萨", -4.4419, 15.2663},
    {"Johannesburg", "约翰内斯堡", -26.2041, 28.0473},
    {"New York", "纽约", 40.7128, -74.0060},
    {"Los Angeles", "洛杉矶", 34.0522, -118.2437},
    {"Chicago", "芝加哥", 41.8781, -87.6298},
    {"Toronto", "多伦多", 43.6532, -79.3832},
    {"Mexico City", "墨西哥城", 19.4326, -99.1332},
    {"São Paulo", "圣保罗", -23.5505, -46.6333},
    {"Buenos Aires", "布宜诺斯艾利斯", -34.6037, -58.3816},
    {"Lima", "利马", -12.0464, -77.0428},
    {"Sydney", "悉尼", -33.8688, 151.2093},
};

} // namespace

int cityCount()
{
    return int(std::size(kCities));
}

const City &city(int index)
{
    return kCities[index];
}

QString cityName(const City &city, Lang lang)
{
    return QString::fromUtf8(lang == Lang::Chinese ? city.chinese : city.english);
}

int findCity(const QString &name)
{
    for (int i = 0; i < cityCount(); ++i)
        if (name == cityName(kCities[i], Lang::English) || name == cityName(kCities[i], Lang::Chinese))
            return i;
    return -1;
}

} // namespace Weather
